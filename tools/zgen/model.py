"""The sample mesh (a faceted crystal) in DirectX text .x form, and its
texture."""

import math

import numpy as np
from PIL import Image

from . import palette as P


def _f(v):
    return f"{v:.6f}"


def crystal_x(texture_name="sample.png"):
    sides = 6
    ring = [(math.cos(2 * math.pi * i / sides) * 0.5, 0.0, math.sin(2 * math.pi * i / sides) * 0.5)
            for i in range(sides)]
    top, bottom = (0.0, 1.0, 0.0), (0.0, -0.6, 0.0)
    verts, uvs, faces, normals = [], [], [], []
    for i in range(sides):
        a, b = ring[i], ring[(i + 1) % sides]
        u0, u1 = i / sides, (i + 1) / sides
        # flat facets: each triangle has its own three vertices and normal;
        # clockwise seen from outside, as Direct3D expects
        for apex, va in ((top, 0.0), (bottom, 1.0)):
            tri = [apex, b, a] if apex is top else [apex, a, b]
            tuv = [((u0 + u1) / 2, va), (u1 if apex is top else u0, 0.5), (u0 if apex is top else u1, 0.5)]
            e1 = np.subtract(tri[1], tri[0])
            e2 = np.subtract(tri[2], tri[0])
            n = np.cross(e2, e1)
            n = n / np.linalg.norm(n)
            base = len(verts)
            verts += tri
            uvs += tuv
            faces.append((base, base + 1, base + 2))
            normals.append(tuple(n))
    L = ["xof 0303txt 0032", "",
         "Material CrystalMaterial {",
         "  0.800000;0.850000;1.000000;1.000000;;",
         "  24.000000;",
         "  0.600000;0.600000;0.700000;;",
         "  0.050000;0.020000;0.100000;;",
         f"  TextureFilename {{ \"{texture_name}\"; }}",
         "}", "",
         "Frame Crystal {",
         "  FrameTransformMatrix {",
         "    1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,"
         "0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000;;",
         "  }",
         "  Mesh CrystalMesh {",
         f"    {len(verts)};"]
    L += ["    " + ";".join(_f(c) for c in v) + (";," if i < len(verts) - 1 else ";;") for i, v in enumerate(verts)]
    L.append(f"    {len(faces)};")
    L += [f"    3;{a},{b},{c};" + ("," if i < len(faces) - 1 else ";") for i, (a, b, c) in enumerate(faces)]
    L += ["    MeshNormals {", f"      {len(normals)};"]
    L += ["      " + ";".join(_f(c) for c in n) + (";," if i < len(normals) - 1 else ";;") for i, n in enumerate(normals)]
    L.append(f"      {len(faces)};")
    L += [f"      3;{i},{i},{i};" + ("," if i < len(faces) - 1 else ";") for i in range(len(faces))]
    L += ["    }", "    MeshTextureCoords {", f"      {len(uvs)};"]
    L += ["      " + f"{_f(u)};{_f(v)};" + ("," if i < len(uvs) - 1 else ";") for i, (u, v) in enumerate(uvs)]
    L += ["    }", "    MeshMaterialList {", "      1;", f"      {len(faces)};"]
    L += ["      0" + ("," if i < len(faces) - 1 else ";") for i in range(len(faces))]
    L += ["      { CrystalMaterial }", "    }", "  }", "}", ""]
    return "\n".join(L).encode("ascii")


def crystal_texture():
    n = 64
    y, x = np.mgrid[0:n, 0:n]
    # bands across each facet, brightest at the girdle (v = 0.5)
    v = 1 - np.abs(y - n / 2) / (n / 2)
    stripe = ((x % (n // 6)) < 2)
    cols = np.array(P.ramp("ice") + [P.rgb("#ffffff")], dtype=np.uint8)
    idx = np.clip((v * 4).astype(int), 0, 4)
    idx = np.where(stripe, np.maximum(idx - 1, 0), idx)
    rgb = cols[idx]
    a = np.full((n, n, 1), 255, np.uint8)
    return Image.fromarray(np.concatenate([rgb, a], axis=2), "RGBA")

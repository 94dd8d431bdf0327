// Matrix, vector and quaternion helpers with Direct3D's conventions: row vectors, v' = v × M.
#pragma once
#include <cmath>

struct Vec3 {
    float x = 0, y = 0, z = 0;
};

// Rotation quaternion as D3DX stores it; MatrixRotationQuaternion gives the matrix.
struct Quat {
    float x = 0, y = 0, z = 0, w = 1;
};

// m[row][col]; translation in row 3.
struct Matrix {
    float m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};

    static Matrix Identity() { return Matrix(); }
    bool operator==(const Matrix& o) const
    {
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c)
                if (m[r][c] != o.m[r][c]) return false;
        return true;
    }
};

inline Matrix operator*(const Matrix& a, const Matrix& b)
{
    Matrix out;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            out.m[r][c] = a.m[r][0] * b.m[0][c] + a.m[r][1] * b.m[1][c] + a.m[r][2] * b.m[2][c] +
                          a.m[r][3] * b.m[3][c];
    return out;
}

inline Matrix MatrixScaling(float x, float y, float z)
{
    Matrix s;
    s.m[0][0] = x;
    s.m[1][1] = y;
    s.m[2][2] = z;
    return s;
}

inline Matrix MatrixTranslation(float x, float y, float z)
{
    Matrix t;
    t.m[3][0] = x;
    t.m[3][1] = y;
    t.m[3][2] = z;
    return t;
}

inline Matrix MatrixRotationX(float a)
{
    Matrix r;
    const float c = std::cos(a), s = std::sin(a);
    r.m[1][1] = c;
    r.m[1][2] = s;
    r.m[2][1] = -s;
    r.m[2][2] = c;
    return r;
}

inline Matrix MatrixRotationY(float a)
{
    Matrix r;
    const float c = std::cos(a), s = std::sin(a);
    r.m[0][0] = c;
    r.m[0][2] = -s;
    r.m[2][0] = s;
    r.m[2][2] = c;
    return r;
}

inline Matrix MatrixRotationZ(float a)
{
    Matrix r;
    const float c = std::cos(a), s = std::sin(a);
    r.m[0][0] = c;
    r.m[0][1] = s;
    r.m[1][0] = -s;
    r.m[1][1] = c;
    return r;
}

inline Matrix MatrixRotationQuaternion(const Quat& q)
{
    Matrix r;
    const float x = q.x, y = q.y, z = q.z, w = q.w;
    r.m[0][0] = 1 - 2 * (y * y + z * z);
    r.m[0][1] = 2 * (x * y + z * w);
    r.m[0][2] = 2 * (x * z - y * w);
    r.m[1][0] = 2 * (x * y - z * w);
    r.m[1][1] = 1 - 2 * (x * x + z * z);
    r.m[1][2] = 2 * (y * z + x * w);
    r.m[2][0] = 2 * (x * z + y * w);
    r.m[2][1] = 2 * (y * z - x * w);
    r.m[2][2] = 1 - 2 * (x * x + y * y);
    return r;
}

inline Vec3 TransformCoord(const Vec3& v, const Matrix& m)
{
    Vec3 o;
    o.x = v.x * m.m[0][0] + v.y * m.m[1][0] + v.z * m.m[2][0] + m.m[3][0];
    o.y = v.x * m.m[0][1] + v.y * m.m[1][1] + v.z * m.m[2][1] + m.m[3][1];
    o.z = v.x * m.m[0][2] + v.y * m.m[1][2] + v.z * m.m[2][2] + m.m[3][2];
    return o;
}

inline Vec3 TransformNormal(const Vec3& v, const Matrix& m)
{
    Vec3 o;
    o.x = v.x * m.m[0][0] + v.y * m.m[1][0] + v.z * m.m[2][0];
    o.y = v.x * m.m[0][1] + v.y * m.m[1][1] + v.z * m.m[2][1];
    o.z = v.x * m.m[0][2] + v.y * m.m[1][2] + v.z * m.m[2][2];
    return o;
}

// Inverse transpose of the upper 3 × 3, the matrix normals go through; zero when singular.
inline Matrix NormalMatrix(const Matrix& m)
{
    const float a = m.m[0][0], b = m.m[0][1], c = m.m[0][2];
    const float d = m.m[1][0], e = m.m[1][1], f = m.m[1][2];
    const float g = m.m[2][0], h = m.m[2][1], i = m.m[2][2];
    const float A = e * i - f * h, B = -(d * i - f * g), C = d * h - e * g;
    const float det = a * A + b * B + c * C;
    Matrix n;
    if (det == 0.0f) {
        n.m[0][0] = n.m[1][1] = n.m[2][2] = 0.0f;
        return n;
    }
    const float k = 1.0f / det;
    // Cofactor matrix over the determinant is the inverse transpose.
    n.m[0][0] = A * k;
    n.m[0][1] = B * k;
    n.m[0][2] = C * k;
    n.m[1][0] = -(b * i - c * h) * k;
    n.m[1][1] = (a * i - c * g) * k;
    n.m[1][2] = -(a * h - b * g) * k;
    n.m[2][0] = (b * f - c * e) * k;
    n.m[2][1] = -(a * f - c * d) * k;
    n.m[2][2] = (a * e - b * d) * k;
    return n;
}

inline Quat QuatSlerp(Quat a, const Quat& b, float t)
{
    float cosom = a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
    Quat q1 = b;
    if (cosom < 0) {
        cosom = -cosom;
        q1 = {-b.x, -b.y, -b.z, -b.w};
    }
    float s0, s1;
    if (1.0f - cosom > 1e-6f) {
        const float omega = std::acos(cosom);
        const float sinom = std::sin(omega);
        s0 = std::sin((1.0f - t) * omega) / sinom;
        s1 = std::sin(t * omega) / sinom;
    } else {
        s0 = 1.0f - t;
        s1 = t;
    }
    a.x = s0 * a.x + s1 * q1.x;
    a.y = s0 * a.y + s1 * q1.y;
    a.z = s0 * a.z + s1 * q1.z;
    a.w = s0 * a.w + s1 * q1.w;
    return a;
}

inline Quat QuatNormalize(Quat q)
{
    const float len = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
    if (len <= 0.0f) return Quat();
    return {q.x / len, q.y / len, q.z / len, q.w / len};
}

// Zenthar - skinning effect for animated meshes.
// Read once when the first animated mesh loads; drawing itself uses the
// fixed-function path, so this only has to be a well-formed effect.

static const int MAX_MATRICES = 26;

float4x3 mWorldMatrixArray[MAX_MATRICES] : WORLDMATRIXARRAY;
float4x4 mViewProj : VIEWPROJECTION;

float3 lightDir = { 0.0f, 0.0f, -1.0f };
float4 lightDiffuse = { 1.0f, 1.0f, 1.0f, 1.0f };
float4 materialAmbient : MATERIALAMBIENT = { 0.1f, 0.1f, 0.1f, 1.0f };
float4 materialDiffuse : MATERIALDIFFUSE = { 0.8f, 0.8f, 0.8f, 1.0f };

texture tex0;
sampler samp0 = sampler_state
{
    Texture = <tex0>;
    MinFilter = Point;
    MagFilter = Point;
    MipFilter = None;
};

struct VS_INPUT
{
    float4 pos : POSITION;
    float4 blendWeights : BLENDWEIGHT;
    float4 blendIndices : BLENDINDICES;
    float3 normal : NORMAL;
    float2 tex0 : TEXCOORD0;
};

struct VS_OUTPUT
{
    float4 pos : POSITION;
    float4 diffuse : COLOR;
    float2 tex0 : TEXCOORD0;
};

VS_OUTPUT VShade(VS_INPUT i, uniform int numBones)
{
    VS_OUTPUT o;
    float3 pos = 0.0f;
    float3 normal = 0.0f;
    float lastWeight = 0.0f;
    int4 indexVector = D3DCOLORtoUBYTE4(i.blendIndices);
    float blendWeights[4] = (float[4])i.blendWeights;
    int indexArray[4] = (int[4])indexVector;

    for (int b = 0; b < numBones - 1; b++)
    {
        lastWeight += blendWeights[b];
        pos += mul(i.pos, mWorldMatrixArray[indexArray[b]]) * blendWeights[b];
        normal += mul(i.normal, (float3x3)mWorldMatrixArray[indexArray[b]]) * blendWeights[b];
    }
    lastWeight = 1.0f - lastWeight;
    pos += mul(i.pos, mWorldMatrixArray[indexArray[numBones - 1]]) * lastWeight;
    normal += mul(i.normal, (float3x3)mWorldMatrixArray[indexArray[numBones - 1]]) * lastWeight;

    o.pos = mul(float4(pos, 1.0f), mViewProj);
    normal = normalize(normal);
    o.diffuse = materialAmbient + materialDiffuse * lightDiffuse * max(0.0f, dot(normal, -lightDir));
    o.diffuse.a = materialDiffuse.a;
    o.tex0 = i.tex0;
    return o;
}

float4 PShade(VS_OUTPUT i) : COLOR
{
    return tex2D(samp0, i.tex0) * i.diffuse;
}

VertexShader vsArray[4] = { compile vs_2_0 VShade(1),
                            compile vs_2_0 VShade(2),
                            compile vs_2_0 VShade(3),
                            compile vs_2_0 VShade(4) };

int CurNumBones = 2;

technique Skinning
{
    pass P0
    {
        VertexShader = (vsArray[CurNumBones - 1]);
        PixelShader = compile ps_2_0 PShade();
    }
}

// One triangle whose inner part covers the viewport: (-1, 1), (3, 1), (-1, -3).
float4 main(uint n : SV_VertexID) : SV_Position {
  float a = float(n & 1u) * 2.0;
  float b = float(n & 2u);
  return float4(2.0 * a - 1.0, 1.0 - 2.0 * b, 0.0, 1.0);
}

// Writes exactly 1 everywhere it is drawn.
float4 main(float4 pos : SV_Position) : SV_Target { return float4(1.0, 1.0, 1.0, 1.0); }

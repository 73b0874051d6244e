#version 110
// Per-pixel lighting for the vehicle and the rifle and bottle pickups, from the
// built-in GL state only: the eye-space normal and position go to the fragment
// stage; the fog coordinate is the depth in front of the eye, as the
// fixed-function pipeline takes it.

varying vec3 eyeNormal;
varying vec3 eyePosition;

void main() {
    vec4 eye = gl_ModelViewMatrix * gl_Vertex;
    eyePosition = eye.xyz;
    eyeNormal = gl_NormalMatrix * gl_Normal;
    gl_FrontColor = gl_Color;
    gl_TexCoord[0] = gl_TextureMatrix[0] * gl_MultiTexCoord0;
    gl_FogFragCoord = abs(eye.z);
    gl_Position = ftransform();
}

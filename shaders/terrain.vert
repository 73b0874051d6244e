#version 110
// The terrain's lighting, as the fixed-function pipeline works it out for each
// sample: both GL lights, near or far, the colour standing for the diffuse material, the
// viewer far off. The terrain sends no texture coordinates, so fixed-function
// texturing would modulate every pixel by one texel; it is applied here, once a
// sample, to the clamped colour, and the fragments go without texturing.

uniform sampler2D texture0;
uniform bool texturing;

vec4 lightContribution(gl_LightSourceParameters light, gl_LightProducts product, vec3 normal, vec3 eye) {
    vec3 toLight = normalize(light.position.w == 0.0 ? light.position.xyz : light.position.xyz - eye);
    float diffuse = dot(normal, toLight);
    vec4 lit = product.ambient;
    if (diffuse > 0.0) {
        vec3 halfway = normalize(toLight + vec3(0.0, 0.0, 1.0));
        float specular = pow(max(dot(normal, halfway), 0.0), gl_FrontMaterial.shininess);
        lit += light.diffuse * gl_Color * diffuse + product.specular * specular;
    }
    return lit;
}

void main() {
    vec4 eye = gl_ModelViewMatrix * gl_Vertex;
    vec3 normal = normalize(gl_NormalMatrix * gl_Normal);
    vec3 lit = gl_FrontLightModelProduct.sceneColor.rgb
             + lightContribution(gl_LightSource[0], gl_FrontLightProduct[0], normal, eye.xyz).rgb
             + lightContribution(gl_LightSource[1], gl_FrontLightProduct[1], normal, eye.xyz).rgb;
    vec4 colour = vec4(clamp(lit, 0.0, 1.0), gl_Color.a);
    if (texturing) colour *= texture2D(texture0, (gl_TextureMatrix[0] * gl_MultiTexCoord0).st);
    gl_FrontColor = colour;
    gl_FogFragCoord = abs(eye.z);
    gl_Position = ftransform();
}

#version 110
// Both GL lights with the front material (ambient, diffuse, specular), the
// texture on unit 0 modulated by the lit colour, and exponential fog from the
// GL fog parameters. GLSL cannot see whether fog or texturing is switched on,
// and the renderer works out every branch for every pixel, so the game builds
// this program with and without TEXTURING and FOG defined and draws with the
// one that matches its switches. The products of the lights and the material
// come ready from GL.

varying vec3 eyeNormal;
varying vec3 eyePosition;
uniform sampler2D texture0;

// Specular light only where the light reaches the surface at all.
vec3 lightContribution(gl_LightSourceParameters light, gl_LightProducts product, vec3 normal, vec3 toEye) {
    vec3 toLight = normalize(light.position.w == 0.0 ? light.position.xyz : light.position.xyz - eyePosition);
    float diffuse = max(dot(normal, toLight), 0.0);
    float specular = 0.0;
    if (diffuse > 0.0) {
        vec3 halfway = normalize(toLight + toEye);
        specular = pow(max(dot(normal, halfway), 0.0), max(gl_FrontMaterial.shininess, 1.0));
    }
    return product.ambient.rgb + product.diffuse.rgb * diffuse + product.specular.rgb * specular;
}

void main() {
    vec3 normal = normalize(eyeNormal);
    vec3 toEye = normalize(-eyePosition);
    vec3 lit = gl_FrontLightModelProduct.sceneColor.rgb
             + lightContribution(gl_LightSource[0], gl_FrontLightProduct[0], normal, toEye)
             + lightContribution(gl_LightSource[1], gl_FrontLightProduct[1], normal, toEye);
    vec4 colour = vec4(clamp(lit, 0.0, 1.0), gl_FrontMaterial.diffuse.a);
#ifdef TEXTURING
    colour *= texture2D(texture0, gl_TexCoord[0].st);
#endif
#ifdef FOG
    colour.rgb = mix(gl_Fog.color.rgb, colour.rgb, clamp(exp(-gl_Fog.density * gl_FogFragCoord), 0.0, 1.0));
#endif
    gl_FragColor = colour;
}

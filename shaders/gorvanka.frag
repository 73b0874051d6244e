#version 110
// Both GL lights with the front material (ambient, diffuse, specular), the
// texture on unit 0 modulated by the lit colour, and exponential fog from the
// GL fog parameters. GLSL cannot see whether fog or texturing is switched on,
// so the game hands both switches over as it switches them.

varying vec3 eyeNormal;
varying vec3 eyePosition;
uniform sampler2D texture0;
uniform bool fogOn;
uniform bool texturing;

// Each branch below is taken only where it is needed: the renderer would
// otherwise work out both sides for every pixel.
vec3 lightContribution(gl_LightSourceParameters light, vec3 normal, vec3 toEye) {
    vec3 toLight = normalize(light.position.w == 0.0 ? light.position.xyz : light.position.xyz - eyePosition);
    float diffuse = max(dot(normal, toLight), 0.0);
    float specular = 0.0;
    if (diffuse > 0.0) {
        vec3 halfway = normalize(toLight + toEye);
        specular = pow(max(dot(normal, halfway), 0.0), max(gl_FrontMaterial.shininess, 1.0));
    }
    return (light.ambient * gl_FrontMaterial.ambient).rgb
         + (light.diffuse * gl_FrontMaterial.diffuse).rgb * diffuse
         + (light.specular * gl_FrontMaterial.specular).rgb * specular;
}

void main() {
    vec3 normal = normalize(eyeNormal);
    vec3 toEye = normalize(-eyePosition);
    vec3 lit = gl_FrontMaterial.emission.rgb
             + gl_LightModel.ambient.rgb * gl_FrontMaterial.ambient.rgb
             + lightContribution(gl_LightSource[0], normal, toEye)
             + lightContribution(gl_LightSource[1], normal, toEye);
    vec4 colour = vec4(clamp(lit, 0.0, 1.0), gl_FrontMaterial.diffuse.a);
    if (texturing) colour *= texture2D(texture0, gl_TexCoord[0].st);
    vec3 seen = colour.rgb;
    if (fogOn) seen = mix(gl_Fog.color.rgb, seen, clamp(exp(-gl_Fog.density * gl_FogFragCoord), 0.0, 1.0));
    gl_FragColor = vec4(seen, colour.a);
}

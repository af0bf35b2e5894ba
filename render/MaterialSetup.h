// The OpenGL steps every draw path shares: a material's colours, setting up
// a material before its triangles, and resetting texture and colours after a
// mesh.
#pragma once

#include "model/Records.h"
#include "render/MaterialAlpha.h"
#include "texture/LoadTexture.h"

#include <GL/gl.h>

#include <optional>

namespace render {

// Sets the OpenGL material of the front faces (ambient, diffuse, specular,
// emission, shininess).
void ApplyColors(const MaterialColors& colors);

// The material state one draw has set so far. A step that would set the
// same colours or bind the same texture again is left out: the picture is
// the same, and a display list of a model of a hundred thousand meshes is
// that much shorter to compile and to play. Likewise the mesh reset is made
// only where something drawn needs it: every triangle is drawn in the state
// the reset would give, without setting the default colours and texture 0
// between two meshes only to set the next material's at once.
class MaterialState {
public:
    // Material setup: the material's colours; its texture (0 when it has
    // none) only when it names a texture file, so that an untextured
    // material keeps whatever texture is bound (after a mesh reset, 0).
    void Setup(const MaterialRecord& material, const LoadTexture* texture);
    // Before a face drawn without a material: the state the mesh started in.
    void SetupWithoutMaterial();
    // The same, and the material's alpha mode when drawn as authored (see
    // AlphaState, which puts the starting state back when the draw ends).
    void Setup(const MaterialRecord& material, const DrawnTexture& drawn);
    // From here to the mesh's end, each vertex's colour is the diffuse
    // colour of the material (lit) or the colour (unlit): colour material
    // on the front faces' diffuse reflectance, as the fixed pipeline of
    // DirectX takes a vertex's colour by default.
    void TakeVertexColors();
    // Mesh reset: texture 0 and the default colours (and colour material
    // off, the current colour white again, after vertex colours). Texture
    // and colours are owed until the next setup or the end of the draw.
    void ResetAfterMesh();
    // The end of a draw: a mesh reset still owed is made, so that the draw
    // leaves texture 0 and the default colours current.
    void Finish();

private:
    void Apply(const MaterialColors& colors);
    void Bind(GLuint texture);
    // Texture 0 and the default colours, when a mesh reset owes them.
    void SettleReset();

    std::optional<MaterialColors> colors_;  // unknown until this draw sets them
    std::optional<GLuint> texture_;
    bool vertexColors_ = false;
    bool resetOwed_ = false;
    AlphaState alpha_;
};

}  // namespace render

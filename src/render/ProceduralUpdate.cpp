// The per-frame step of the procedural textures seen in the last frame.
#include "render/ProceduralUpdate.h"

#include "content/Resources.h"
#include "core/FixedStep.h"

namespace orv {

int AdvanceProceduralTextures(Resources& res, TextureUploader& uploader) {
    int stepped = 0;
    for (std::unique_ptr<Texture>& texture : res.Textures) {
        if (texture->Used && texture->IsProcedural()) {
            // A fixed step whatever the frame rate: the textures move with the frames drawn.
            texture->Update(kStepDeltaTime);
            uploader.UploadTextureRegion(*texture, 0, 0, -1, -1);
            ++stepped;
        }
        texture->Used = 0;
    }
    return stepped;
}

} // namespace orv

// A sound file (WAV, Ogg Vorbis and the rest the decoder reads), decoded whole and mixed down to
// one channel as the engine does for sounds placed in the world.
#include "FuzzSupport.h"

#include "core/Vfs.h"
#include "platform/SoundFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orv;
    static const std::string path = fuzz::ScratchDir() + "/Fuzz.wav";
    if (!WriteWholeFile(path, fuzz::AsText(data, size))) {
        std::abort();
    }
    fuzz::Guarded([&] {
        DecodedSound sound;
        std::string error;
        if (DecodeSoundFile(path, sound, error)) {
            MixDownToMono(sound);
        }
    });
    return 0;
}

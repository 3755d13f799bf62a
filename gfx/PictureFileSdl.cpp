#include "gfx/PictureFile.h"

#include "gfx/SdlBitmap.h"

PictureFile readPictureFile(std::FILE* file)
{
    PictureFile read;
    SDL_RWops* stream = SDL_RWFromFP(file, SDL_TRUE);
    if (stream == nullptr) {
        std::fclose(file);
    }
    SDL_Surface* loaded = readBitmap(stream, &read.refusal);
    if (loaded == nullptr) {
        return read;
    }
    read.picture.width = loaded->w;
    read.picture.height = loaded->h;
    read.hadAlphaChannel = loaded->format->Amask != 0;
    if (!rgbaPixelsOf(loaded, read.picture)) {
        read.conversionFailure = SDL_GetError();
    }
    SDL_FreeSurface(loaded);
    return read;
}

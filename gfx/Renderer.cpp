#include "gfx/Renderer.h"

#include "entities/Entity.h"
#include "gfx/PictureFile.h"
#include "level/InputFile.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <iostream>

Renderer::Renderer(Game* world, float screenWidth, float screenHeight, float worldWidth,
                   float worldHeight, RenderMode renderMode)
    : worldSize{worldWidth, worldHeight}, owner(world), screenSize{screenWidth, screenHeight},
      camera{0.0f, 0.0f}, followBox{screenWidth, screenHeight}, mode(renderMode)
{
    if (mode == RenderMode::Window) {
        initGlState();
        resizeViewport(static_cast<int>(screenWidth), static_cast<int>(screenHeight));
    }
}

void Renderer::initGlState()
{
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void Renderer::resizeViewport(int width, int height)
{
    if (height == 0) {
        height = 1;
    }
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const float aspect = static_cast<float>(width) / static_cast<float>(height);
    gluPerspective(45.0, aspect, static_cast<double>(0.1f), 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

ImageRecord Renderer::textureRecord(const PixelImage& picture, bool& copied) const
{
    float coordinates[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    ImageRecord record;
    if (mode == RenderMode::Window) {
        // Texture names are never 0, so 0 means the copy failed.
        record.texture = uploadTexture(picture, coordinates);
        copied = record.texture != 0;
    } else {
        // Headless: the same copy is made (and can fail the same way), but no texture.
        PixelImage copy;
        copied = powerOfTwoCopy(picture, coordinates, copy);
    }
    record.texLeft = coordinates[0];
    record.texTop = coordinates[1];
    record.texRight = coordinates[2];
    record.texBottom = coordinates[3];
    return record;
}

int32_t Renderer::loadImage(const char* fileName)
{
    const int32_t id = takeObjectId();
    const int32_t fileIndex = notePictureFile(fileName);
    ImageRecord record = sharedPicture(fileName);
    record.id = id;
    record.fileIndex = fileIndex;
    images.push_back(record);
    return id;
}

ImageRecord Renderer::sharedPicture(const char* fileName)
{
    const InputFile input = openInputFile(fileName);
    if (input.file == nullptr) {
        throw ImageLoadError(kImageFailedToLoad, fileName, input.problem);
    }
    const PictureFileStamp stamp = stampOf(fileName, input.status);
    if (const SharedPicture* known = pictures.find(stamp)) {
        std::fclose(input.file);
        known->repeatLog();
        return known->record;
    }
    const SharedPicture picture = readPicture(input.file, fileName);
    pictures.keep(stamp, picture);
    return picture.record;
}

SharedPicture Renderer::readPicture(std::FILE* file, const char* fileName)
{
    PictureFile read = readPictureFile(file);
    if (!read.refusal.empty()) {
        throw ImageLoadError(kImageFailedToLoad, fileName, read.refusal);
    }
    const std::string reason = pictures.budgetRefusal(read.picture.width, read.picture.height);
    if (!reason.empty()) {
        throw ImageLoadError(kImageFailedToLoad, fileName, reason);
    }
    SharedPicture picture;
    picture.convertedToRgba = !read.hadAlphaChannel;
    if (picture.convertedToRgba) {
        std::cout << kNoAlphaLine << std::endl;
    }
    if (!read.conversionFailure.empty()) {
        throw ImageLoadError(kNoAlphaSurface, fileName, read.conversionFailure);
    }
    applyDiscMask(read.picture);

    bool copied = false;
    picture.record = textureRecord(read.picture, copied);
    picture.copyFailed = !copied;
    pictures.holdPixels(read.picture.width, read.picture.height);
    return picture;
}

void Renderer::loadLevelPicture()
{
    notePictureFile("level.bmp");
    const InputFile input = openInputFile("level.bmp");
    std::string reason = input.problem;
    PictureFile read;
    if (input.file != nullptr) {
        read = readPictureFile(input.file);
        reason = read.refusal.empty()
                     ? pictures.budgetRefusal(read.picture.width, read.picture.height)
                     : read.refusal;
    }
    if (input.file == nullptr || !reason.empty()) {
        std::cerr << "quillfen: cannot read the background picture level.bmp (" << reason
                  << "); playing without it" << std::endl;
    } else {
        bool copied = false;
        if (read.conversionFailure.empty()) {
            levelPicture = textureRecord(read.picture, copied);
        } else {
            // The copy into a texture's pixels is what failed.
            std::cout << kCopyFailedLine << std::endl;
        }
        pictures.holdPixels(read.picture.width, read.picture.height);
    }
    levelPicture.id = takeObjectId();
}

int32_t Renderer::notePictureFile(const char* fileName)
{
    const auto known = std::find(pictureFiles.begin(), pictureFiles.end(), fileName);
    if (known != pictureFiles.end()) {
        return static_cast<int32_t>(known - pictureFiles.begin());
    }
    pictureFiles.emplace_back(fileName);
    return static_cast<int32_t>(pictureFiles.size() - 1);
}

int Renderer::findImageIndex(int32_t id) const { return imageIndex.find(images, id); }

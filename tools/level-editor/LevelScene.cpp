#include "tools/level-editor/LevelScene.h"

#include "level/LevelLoader.h"
#include "tools/lint-level/GameFolderScope.h"

#include <cstdlib>

namespace {

// The process as it is when the game starts: ids from 0, the random sequence from its start.
void startAsFreshRun()
{
    nextObjectId = 0;
    std::srand(1);
}

// Ties the shapes that the record added to the world to the record.
void noteAdded(std::vector<int>& records, std::size_t count, int record)
{
    records.resize(count, record);
}

} // namespace

LevelScene readScene(const std::string& folder, const std::string* text, RecordSpans& spans)
{
    LevelScene scene;
    const InFolder inFolder(folder);
    const MutedConsole muted;
    startAsFreshRun();
    try {
        scene.world = std::make_unique<Game>(RenderMode::Headless);
    } catch (const ImageLoadError& error) {
        scene.failure = describeFailure(error);
    }
    Game* world = scene.world.get();
    if (world != nullptr) {
        scene.lineRecords.assign(world->lines.size(), -1);
        scene.arcRecords.assign(world->arcs.size(), -1);
        scene.pictureRecords.assign(world->levelPictures().size(), -1);
    }
    if (text == nullptr) {
        return scene;
    }
    CharSource source(text->data(), text->size());
    LevelReader reader(source, spans.observer());
    std::string word;
    int index = -1;
    while (reader.nextWord(word)) {
        LevelHeader header = LevelHeader::Objects;
        if (!findHeader(word, header)) {
            continue;
        }
        spans.beginRecord(header);
        const LevelRecord record = reader.readRecord(header);
        spans.endRecord(record);
        ++index;
        if (world == nullptr) {
            continue;
        }
        if (index == kSceneRecordLimit) {
            scene.cutAt = index;
            world = nullptr;
            continue;
        }
        try {
            applyRecord(*world, record);
        } catch (const ImageLoadError& error) {
            scene.failure = describeFailure(error);
            world = nullptr;
            continue;
        }
        noteAdded(scene.lineRecords, world->lines.size(), index);
        noteAdded(scene.arcRecords, world->arcs.size(), index);
        noteAdded(scene.pictureRecords, world->levelPictures().size(), index);
    }
    return scene;
}

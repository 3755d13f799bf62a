#include "tools/level-editor/LevelDescription.h"

#include "app/MainLoop.h"
#include "level/FormattedRead.h"
#include "tools/level-editor/RecordsJson.h"
#include "tools/level-editor/SceneJson.h"
#include "tools/lint-level/LevelLint.h"

#include <algorithm>
#include <filesystem>
#include <vector>

namespace {

const char* const kLevelFile = "Level.txt";

// Where each line of the text begins, in bytes.
std::vector<std::size_t> lineStarts(const std::string& text)
{
    std::vector<std::size_t> starts{0};
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) {
        starts.push_back(at + 1);
    }
    return starts;
}

// A finding and where it stands in the bytes of the text.
struct PlacedFinding {
    const Diagnostic* diagnostic = nullptr;
    std::size_t offset = 0;
    std::size_t length = 0;
    int record = -1;
};

std::vector<PlacedFinding> placeFindings(const std::vector<Diagnostic>& diagnostics,
                                         const std::string& text, const RecordSpans& spans)
{
    const std::vector<std::size_t> starts = lineStarts(text);
    std::vector<PlacedFinding> placed;
    for (const Diagnostic& diagnostic : diagnostics) {
        PlacedFinding finding;
        finding.diagnostic = &diagnostic;
        const std::size_t line = diagnostic.at.line;
        if (diagnostic.located && line >= 1 && line <= starts.size()) {
            finding.offset = std::min(starts[line - 1] + diagnostic.at.column - 1, text.size());
            std::size_t end = finding.offset;
            while (end < text.size() && !isLevelSpace(static_cast<unsigned char>(text[end]))) {
                ++end;
            }
            finding.length = end - finding.offset;
            finding.record = spans.recordAt(finding.offset);
        }
        placed.push_back(finding);
    }
    return placed;
}

void writeFindings(JsonWriter& json, const std::vector<PlacedFinding>& findings)
{
    json.beginArray();
    for (const PlacedFinding& finding : findings) {
        const Diagnostic& diagnostic = *finding.diagnostic;
        json.beginObject();
        json.key("line").integer(diagnostic.located ? static_cast<int64_t>(diagnostic.at.line) : 0);
        json.key("column").integer(diagnostic.located ? static_cast<int64_t>(diagnostic.at.column)
                                                      : 0);
        json.key("offset").integer(static_cast<int64_t>(finding.offset));
        json.key("length").integer(static_cast<int64_t>(finding.length));
        json.key("severity").string(diagnostic.severity == Severity::Error ? "error" : "warning");
        json.key("message").string(diagnostic.message);
        json.key("file").string(diagnostic.file);
        json.key("located").boolean(diagnostic.located);
        json.key("record").integer(finding.record);
        json.endObject();
    }
    json.endArray();
}

std::string failureJson(const std::string& message)
{
    JsonWriter json;
    json.beginObject().key("ok").boolean(false).key("message").string(message).endObject();
    return json.text();
}

} // namespace

std::string describeLevel(const std::string& folder)
{
    std::error_code problem;
    if (!std::filesystem::is_directory(folder, problem)) {
        return failureJson("no folder '" + folder + "'");
    }
    const std::string path = (std::filesystem::path(folder) / kLevelFile).string();
    std::string text;
    std::string unreadable;
    const bool readable = readLevelText(path, text, unreadable);
    LintFindings lint;
    std::string lintReport;
    if (readable) {
        lint = lintText(text, kLevelFile, GameFolder{folder, ""});
        sortDiagnostics(lint.diagnostics);
        lintReport = lintOutput(lint, kLevelFile);
    } else {
        // As quillfen-lint says it; the game plays its built-in scene alone.
        lint.diagnostics.push_back(Diagnostic{kLevelFile, false, TextPosition{}, Severity::Error,
                                              "cannot be read: " + unreadable});
        lintReport = unreadableOutput(kLevelFile, unreadable);
    }
    RecordSpans spans(kSceneRecordLimit);
    const LevelScene scene = readScene(folder, readable ? &text : nullptr, spans);
    const std::vector<PlacedFinding> findings = placeFindings(lint.diagnostics, text, spans);
    std::vector<std::vector<int>> findingsOf(spans.records().size());
    for (std::size_t index = 0; index < findings.size(); ++index) {
        if (findings[index].record >= 0) {
            findingsOf[static_cast<std::size_t>(findings[index].record)].push_back(
                static_cast<int>(index));
        }
    }

    JsonWriter json;
    json.beginObject().key("ok").boolean(true);
    json.key("world").beginObject();
    const Vec2 size = scene.world ? scene.world->renderer.worldSize : Vec2{3000.0f, 680.0f};
    json.key("width").number(size.x).key("height").number(size.y);
    json.key("winningX").number(kWinningX).endObject();
    json.key("records");
    writeRecords(json, spans.records(), findingsOf);
    json.key("scene");
    writeScene(json, scene);
    json.key("overlay");
    writeOverlay(json, scene);
    json.key("findings");
    writeFindings(json, findings);
    json.key("lint").string(lintReport);
    if (!scene.failure.empty()) {
        json.key("stops").string(scene.failure);
    }
    if (scene.cutAt >= 0) {
        // Only the first records are described and built; the lint has read them all.
        json.key("recordCount").integer(static_cast<int64_t>(spans.recordCount()));
        json.key("cutAt").integer(scene.cutAt);
    }
    json.endObject();
    return json.text();
}

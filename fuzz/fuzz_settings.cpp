// coldroom-calc's arguments, one a line: the options read, every --set entered on the start-up
// project and every --vary parsed, checked and run (small grids) on it. Nothing may reach
// undefined behaviour; an entry stops with a reason; a point is labelled with the values it was
// computed with and computes the same when entered alone.
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "app/calc_options.h"
#include "files/project_codec.h"
#include "fuzz_support.h"
#include "model/compute_room.h"
#include "model/entries.h"
#include "ui/study/study.h"

using namespace coldroom;

namespace {

struct Start {
    std::shared_ptr<const ReferenceData> data;
    RoomProject project;
    TaskDialogState dialog;
};

const Start& StartUp() {
    static const Start start = [] {
        Start s;
        std::string error;
        s.data = LoadReferenceData(COLDROOM_DATABASE, error);
        if (!s.data) std::abort();
        s.project = StartProject(*s.data);
        return s;
    }();
    return start;
}

bool SameLoads(const LoadBreakdown& a, const LoadBreakdown& b) {
    return a.capacity.defined == b.capacity.defined && a.capacity.watts == b.capacity.watts &&
           a.total.defined == b.total.defined && a.total.watts == b.total.watts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Start& start = StartUp();
    std::vector<std::string> lines{"coldroom-calc"};
    for (std::size_t at = 0; at <= size && lines.size() < 64;) {
        const auto* begin = reinterpret_cast<const char*>(data) + at;
        std::size_t end = at;
        while (end < size && data[end] != '\n') ++end;
        lines.emplace_back(begin, end - at);
        at = end + 1;
    }
    std::vector<const char*> argv;
    for (const std::string& line : lines) argv.push_back(line.c_str());
    CalcOptions options;
    std::string error;
    if (!ParseCalcArguments(static_cast<int>(argv.size()), argv.data(), options, error)) {
        FUZZ_CHECK(!error.empty());
        return 0;
    }
    FUZZ_CHECK(options.margin == -1 || (options.margin >= 0 && options.margin <= kMaxDesignMargin));

    RoomProject project = start.project;
    TaskDialogState dialog = start.dialog;
    const SetResult set = ApplySettings(project, dialog, *start.data, options.settings);
    FUZZ_CHECK(set.status == SetStatus::Done || !set.name.empty());
    if (set.status == SetStatus::Refused || set.status == SetStatus::BadValue) FUZZ_CHECK(!set.message.empty());
    if (set.status != SetStatus::Done) return 0;
    ComputeRoom(project, *start.data);

    std::vector<StudyAxis> axes;
    for (const std::string& text : options.axes) {
        StudyAxis axis;
        if (!ParseAxis(text, axis, error)) return 0;
        FUZZ_CHECK(std::isfinite(axis.from) && std::isfinite(axis.to) && std::isfinite(axis.step));
        axes.push_back(axis);
    }
    Study study(start.data);
    study.Begin(project, dialog);
    if (axes.empty() || !study.Check(axes, error)) return 0;
    double points = 1;
    for (const StudyAxis& axis : axes) points *= axis.count();
    if (points > 64) return 0;
    const std::vector<StudyPoint> run = study.Run(axes);
    FUZZ_CHECK(run.size() == static_cast<std::size_t>(points));
    for (const StudyPoint& point : run) {
        FUZZ_CHECK(point.values.size() == axes.size());
        std::vector<Setting> settings;
        for (std::size_t k = 0; k < axes.size(); ++k) settings.push_back({axes[k].name, GeneralText(point.values[k])});
        const StudyPoint alone = study.Point(settings);
        FUZZ_CHECK(alone.refused || point.refused || SameLoads(alone.loads, point.loads));
        if (point.refused) FUZZ_CHECK(!point.message.empty());
    }
    return 0;
}

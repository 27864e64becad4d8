#include "ui/study/settings.h"

#include <optional>

#include "ui/program.h"

namespace coldroom {
namespace {

class ProgramSink : public EntrySink {
public:
    explicit ProgramSink(Program& program) : program_(program) {}

    void notice(const Notice& n) override {
        // Each entry is an event of its own: what it meets is told at its end.
        if (!scope_) scope_.emplace(program_.main);
        program_.main.Tell(n);
    }
    void taskNotice(const TaskNotice& n) override { program_.task.Tell(n); }
    void refusedText(const FieldSpec& f, const std::string& shown) override { program_.main.KeepRefused(f, shown); }
    void recomputed(unsigned recompute) override {
        if (!scope_) scope_.emplace(program_.main);
        program_.main.Recalculate(recompute);
        program_.main.Show();
        scope_.reset();
    }
    void activateRoom(RoomProject&) override {
        program_.task.Show();
        program_.main.Activate();
    }

private:
    Program& program_;
    std::optional<MainForm::EventScope> scope_;
};

}  // namespace

SetResult ApplySettings(Program& program, const std::vector<Setting>& settings) {
    ProgramSink sink(program);
    RoomSession& s = program.session;
    SetResult result = ApplySettings(s.project, s.dialog, *s.data, settings, &sink);
    program.task.Show();
    program.main.Show();
    return result;
}

}  // namespace coldroom

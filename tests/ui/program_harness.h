// Test harness: a whole program without a screen, started as a person starts it.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "refdb/test_db.h"
#include "ui/headless_ui.h"
#include "ui/program.h"

namespace coldroom::test {

class ProgramHarness {
public:
    // A program over a test database (the minimal valid one unless given).
    explicit ProgramHarness(TestDatabase database = MinimalReferenceDatabase())
        : db_(std::move(database)) {
        start(db_.write());
    }
    // A program over the database the build ships.
    struct Shipped {};
    explicit ProgramHarness(Shipped) { start(ShippedDatabasePath()); }

    Program& program() { return *program_; }
    TaskForm& task() { return program_->task; }
    MainForm& main() { return program_->main; }
    HeadlessUi ui;

    // "Далее >>": the main window is loaded on its first showing and activated.
    void confirm() { task().OK_btn.onClick(); }

    // Types a text into a field and commits it with Enter (or by leaving it).
    static void enter(TextBox& box, const std::string& text) {
        box.text = text;
        box.onEnter();
    }
    static void leave(TextBox& box, const std::string& text) {
        box.text = text;
        box.onLeave();
    }

    size_t messageCount() const { return ui.messages.size(); }
    const RecordedMessage& lastMessage() const { return ui.messages.back(); }
    void clearMessages() { ui.messages.clear(); }

private:
    void start(const std::string& path) {
        program_ = std::make_unique<Program>(ui, path);
        ui.attach(*program_);
        std::string error;
        if (!program_->Start(error)) throw std::runtime_error(error);
        ui.showWindow(WindowId::TaskDialog);
    }

    TestDatabase db_;
    std::unique_ptr<Program> program_;
};

}  // namespace coldroom::test

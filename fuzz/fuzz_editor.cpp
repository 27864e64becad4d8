// A sequence of the parameter editor's operations on the user's copy of the shipped data: rows
// moved through, typed into, added, deleted and written, products added to and taken from task
// lists, enthalpy points changed, the editor closed and opened again. After every operation the
// data the program would read loads at its start, no row the program shipped is gone, the
// shipped file is untouched, and while the editor is open nobody else takes its lock: neither a
// second editor nor a restore of the shipped data.
#include <fuzzer/FuzzedDataProvider.h>

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/numtext.h"
#include "fuzz_support.h"
#include "refdb/database_location.h"
#include "refdb/editor_lock.h"
#include "ui/editor/editor_checks.h"
#include "ui/editor/editor_form.h"
#include "ui/headless_ui.h"

using namespace coldroom;

namespace {

struct Files {
    std::string shipped, copy, shippedBytes;
    std::vector<int> shippedRows;  // by schema table
};

const Files& Scratch() {
    static const Files files = [] {
        Files f;
        f.shipped = fuzz::ScratchDir() + "/Data.dtx";
        f.copy = fuzz::ScratchDir() + "/user/Data.dtx";
        f.shippedBytes = fuzz::ReadWhole(COLDROOM_DATABASE);
        fuzz::WriteWhole(f.shipped, f.shippedBytes);
        ReferenceDatabase db;
        std::string error;
        if (!db.open(f.shipped, error)) std::abort();
        for (const TableSchema& t : ReferenceSchema()) f.shippedRows.push_back(db.loadTable(t.name, error)->rowCount());
        return f;
    }();
    return files;
}

// The data as the program's next start reads it: every table loads, the shipped rows are there.
void CheckStored(const Files& f) {
    ReferenceDatabase db;
    std::string error;
    FUZZ_CHECK(db.open(EffectiveDatabasePath(f.shipped, f.copy), error));
    std::size_t i = 0;
    for (const TableSchema& t : ReferenceSchema()) {
        const auto table = db.loadTable(t.name, error);
        FUZZ_CHECK(table && table->rowCount() >= f.shippedRows[i++]);
    }
}

std::string Typed(FuzzedDataProvider& in, const BoundView::Field& field) {
    const EditorCheck* check = FindEditorCheck(field.name);
    if (!check || check->kind == EditorCheck::Kind::Name || in.ConsumeBool()) return in.ConsumeRandomLengthString(24);
    const QuantityRange& r = check->rule().range;
    const double span = std::isfinite(r.high - r.low) ? r.high - r.low : 1e6;
    const double edges[] = {r.low, r.high, std::nextafter(r.low, -INFINITY), std::nextafter(r.high, INFINITY),
                            r.low - span / 10, r.high + span / 10, r.low + span * in.ConsumeProbability<double>()};
    return GeneralText(edges[in.ConsumeIntegralInRange<int>(0, 6)]);
}

// As a person can: only what is enabled, only what does something.
void Click(Button* button) {
    if (button && button->enabled && button->onClick) button->onClick();
}
void Run(const Handler& handler) {
    if (handler) handler();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Files& f = Scratch();
    std::error_code ec;
    std::filesystem::remove_all(std::filesystem::path(f.copy).parent_path(), ec);
    FuzzedDataProvider in(data, size);
    HeadlessUi ui;
    auto editor = std::make_unique<EditorForm>(ui);
    std::string error;
    FUZZ_CHECK(editor->Load(f.shipped, f.copy, error));
    for (int step = 0; step < 24 && in.remaining_bytes() > 0; ++step) {
        EditorForm& form = *editor;
        std::vector<BoundView*> views = form.views();
        BoundView& view = *views[in.ConsumeIntegralInRange<std::size_t>(0, views.size() - 1)];
        form.SSTab1.setIndex(view.tab);
        ui.answers.assign(4, in.ConsumeBool() ? MsgAnswer::Yes : MsgAnswer::No);
        switch (in.ConsumeIntegralInRange<int>(0, 10)) {
        case 0: {
            Button* moves[] = {&view.first, &view.previous, &view.next, &view.last};
            Click(moves[in.ConsumeIntegralInRange<int>(0, 3)]);
            break;
        }
        case 1:
        case 2: {
            Click(view.update);
            if (view.fields.empty()) break;
            const auto& field = view.fields[in.ConsumeIntegralInRange<std::size_t>(0, view.fields.size() - 1)];
            if (!field.box->enabled) break;
            field.box->text = Typed(in, field);
            Run(in.ConsumeBool() ? field.box->onEnter : field.box->onLeave);
            break;
        }
        case 3: Click(view.update); break;
        case 4: Click(view.add); break;
        case 5: Click(view.remove); break;
        case 6:
            if (form.cmbNewProd.count() > 0) form.cmbNewProd.setIndex(in.ConsumeIntegralInRange<int>(0, form.cmbNewProd.count() - 1));
            Click(&form.btnAdd);
            break;
        case 7:
            if (form.cmbProduct.count() > 0) form.cmbProduct.setIndex(in.ConsumeIntegralInRange<int>(0, form.cmbProduct.count() - 1));
            Click(&form.btnDelete);
            break;
        case 8:
            for (int i = in.ConsumeIntegralInRange<int>(0, 4); i > 0; --i) Click(in.ConsumeBool() ? &form.Up_pic : &form.Down_pic);
            if (!form.txtEnthalpy.enabled) break;
            form.txtEnthalpy.text = in.ConsumeBool() ? GeneralText(in.ConsumeIntegralInRange<int>(-50, 1200))
                                                     : in.ConsumeRandomLengthString(12);
            form.txtEnthalpy_Commit(in.ConsumeBool());
            break;
        case 9: {
            // Nobody else takes the data while the editor has it open.
            HeadlessUi other;
            EditorForm second(other);
            FUZZ_CHECK(!second.Load(f.shipped, f.copy, error));
            const std::string before = fuzz::ReadWhole(f.copy);
            FUZZ_CHECK(MoveCopyAside(f.copy, "broken", error).empty());
            FUZZ_CHECK(fuzz::ReadWhole(f.copy) == before);
            break;
        }
        default: {
            bool closed = false;
            form.onClosed = [&closed] { closed = true; };
            Click(in.ConsumeBool() ? &form.Exit_btn : &form.btnCancel);
            if (!closed) Click(&form.btnCancel);  // a row that cannot be stored is dropped
            FUZZ_CHECK(closed);
            editor = std::make_unique<EditorForm>(ui);
            FUZZ_CHECK(editor->Load(f.shipped, f.copy, error));
            break;
        }
        }
        CheckStored(f);
    }
    FUZZ_CHECK(fuzz::ReadWhole(f.shipped) == f.shippedBytes);
    return 0;
}

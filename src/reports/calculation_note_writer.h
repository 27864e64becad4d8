// How the calculation note is written, section by section (calculation_note_*.cpp): rows hold
// their formulas as lines of figures, printed once every figure has the decimals its uses need.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "core/load_components.h"
#include "model/field_catalogue.h"
#include "reports/calculation_note.h"
#include "reports/calculation_note_figures.h"

namespace coldroom::note {

class Writer {
public:
    Writer(const RoomProject& p, const RoomResult& r, const ReferenceData& d, const NoteOptions& o)
        : p_(p), r_(r), d_(d), o_(o) {}

    void inputs();
    void envelope();
    void product();
    void packaging();
    void operation();
    void totals();
    void coolingTime();
    void problems();
    // Fits the figures and prints every row.
    CalculationNote finish();

    CalculationNote note;

private:
    // ---- Blocks and rows ----
    // `component`: the load this section forms, for the summary's references.
    void section(const std::string& text, LoadId component = LoadId::Capacity);
    void subsection(const std::string& text);
    void text(const std::string& text);
    void row(std::string label, Line formula, Line value, std::string unit, std::string key = {});
    // A computed value: "symbols = substitution", the value its printed numbers give.
    void calc(std::string label, const std::string& symbols, Expr e, Figure* result, std::string unit,
              std::string key = {});
    // A load taken as whole watts: "symbols = substitution = unrounded; целая часть".
    void whole(std::string label, const std::string& symbols, Expr e, Figure* before, const LoadValue& v,
               std::string key);
    // A load component's value as the results show it, with its reason when undefined.
    void load(std::string label, Line formula, const LoadValue& v, const std::string& key);

    // ---- Figures ----
    Figure* exact(double v) { return figures_.Exact(v); }
    Figure* constant(double v, const char* text) { return figures_.Fixed(v, text); }
    Figure* computed(double v, int decimals, bool single = false) { return figures_.Computed(v, decimals, single); }
    Figure* beforeWhole(double v, bool single = false) { return figures_.BeforeWhole(v, 2, single); }
    // A whole-watt value as the results show it.
    Figure* watts(const LoadValue& v);
    // The entry of a field, read as the calculation reads it.
    Figure* entry(const std::string& text);
    // The floor area, one figure wherever it is used.
    Figure* floorArea();

    std::string list(const char* control, FieldForm form, int position) const {
        return ListText(*FindField(control, form), p_, d_, position);
    }

    // ---- Parts of sections ----
    void surface(int s);
    void groundFloor();
    std::vector<Figure*> layers(int s);
    std::string coatingName(int s) const;
    Figure* standardDoor();
    Figure* specialDoor(Figure* tau);
    Figure* fans();
    void climate();
    void signatures();

    const RoomProject& p_;
    const RoomResult& r_;
    const ReferenceData& d_;
    const NoteOptions& o_;
    Figures figures_;
    Figure* floorArea_ = nullptr;
    Figure* alphaIn_ = nullptr;
    Figure* dailyMass_ = nullptr;
    Figure* fans_ = nullptr;  // the fans' heat over the work cycle, one text wherever it is used
    int section_ = 0, subsection_ = 0;
    std::map<LoadId, int> sectionOf_;

    struct Pending {
        size_t block, row;
        Line formula, value;
    };
    std::vector<Pending> pending_;
};

}  // namespace coldroom::note

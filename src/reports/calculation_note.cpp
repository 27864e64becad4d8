// The note's frame: its heading, the inputs, the warnings, the signatures, and the rows' forms.
#include "reports/calculation_note.h"

#include <algorithm>

#include "core/numtext.h"
#include "core/shared_texts.h"
#include "model/task_edit.h"
#include "refdb/reference_columns.h"
#include "reports/calculation_note_writer.h"

namespace coldroom {
namespace note {

// ---- Blocks and rows ------------------------------------------------------------------------

void Writer::section(const std::string& text, LoadId component) {
    note.blocks.push_back({NoteBlock::Kind::Section, std::to_string(++section_) + ". " + text, {}});
    subsection_ = 0;
    if (component != LoadId::Capacity) sectionOf_[component] = section_;
}

void Writer::subsection(const std::string& text) {
    note.blocks.push_back(
        {NoteBlock::Kind::Subsection, std::to_string(section_) + "." + std::to_string(++subsection_) + ". " + text, {}});
}

void Writer::text(const std::string& text) { note.blocks.push_back({NoteBlock::Kind::Text, text, {}}); }

void Writer::row(std::string label, Line formula, Line value, std::string unit, std::string key) {
    if (note.blocks.empty() || note.blocks.back().kind != NoteBlock::Kind::Rows)
        note.blocks.push_back({NoteBlock::Kind::Rows, {}, {}});
    std::vector<NoteRow>& rows = note.blocks.back().rows;
    rows.push_back({std::move(label), {}, {}, std::move(unit), std::move(key)});
    pending_.push_back({note.blocks.size() - 1, rows.size() - 1, std::move(formula), std::move(value)});
}

void Writer::calc(std::string label, const std::string& symbols, Expr e, Figure* result, std::string unit,
                  std::string key) {
    figures_.Require(e, result);
    row(std::move(label), Line(symbols + " = ") + e, result, std::move(unit), std::move(key));
}

void Writer::whole(std::string label, const std::string& symbols, Expr e, Figure* before, const LoadValue& v,
                   std::string key) {
    figures_.Require(e, before);
    load(std::move(label), Line(symbols + " = ") + e + " = " + before + "; целая часть", v, key);
}

void Writer::load(std::string label, Line formula, const LoadValue& v, const std::string& key) {
    row(std::move(label), std::move(formula), LoadText(v), "Вт", key);
    if (!v.defined) text("Не определено: " + v.problem);
}

Figure* Writer::watts(const LoadValue& v) {
    return figures_.Fixed(v.defined ? v.watts : 0, v.defined ? LoadText(v) : "0");
}

Figure* Writer::entry(const std::string& text) { return exact(LeadingNumber(text)); }

Figure* Writer::floorArea() {
    if (!floorArea_) floorArea_ = computed(r_.trace.operation.floorArea, 2);
    return floorArea_;
}

CalculationNote Writer::finish() {
    figures_.Fit();
    for (const Pending& p : pending_) {
        NoteRow& r = note.blocks[p.block].rows[p.row];
        r.formula = p.formula.text();
        r.value = p.value.text();
    }
    return std::move(note);
}

// ---- Inputs -----------------------------------------------------------------------------------

void Writer::inputs() {
    const TaskValues& t = p_.task;
    section("Исходные данные");
    row("Технологическая задача", "", TaskListText(p_, d_), "");
    row("Продукт", "", list("Produkt_cmb", FieldForm::Task, t.Produkt_cmb), "");
    row("Упаковка", "", list("Packing_cmb", FieldForm::Task, t.Packing_cmb), "");
    row("Загрузка камеры", "G", entry(t.Load_prod_txt), "т");
    row("Суточный оборот", "доля загрузки", entry(t.Oborot_Prod_txt), "%");
    const std::string& tonnes = r_.task.turnoverTonnes;
    if (tonnes == t.Oborot_tonn_txt)  // typed in tonnes: the share follows from them
        row("Суточный оборот продуктов", "Mсут (задан в тоннах)", entry(tonnes), "т");
    else
        calc("Суточный оборот продуктов", "Mсут = доля · G / 100",
             Expr(exact(LeadingNumber(t.Oborot_Prod_txt))) * entry(t.Load_prod_txt) / constant(100, "100"),
             figures_.Fixed(LeadingNumber(tonnes), tonnes), "т");
    row("Время охлаждения", "τ", entry(t.Real_time_txt), "ч");
    row("Длина камеры", "L", entry(p_.Length_txt), "м");
    row("Ширина камеры", "B", entry(p_.Width_txt), "м");
    row("Высота камеры", "H", entry(p_.Height_txt), "м");
    row("Объём камеры", "V", entry(p_.Volume_txt), "м³");
    calc("Площадь пола", "F = L × B", Cross(entry(p_.Length_txt), entry(p_.Width_txt)), floorArea(), "м²");
    row("Температура в камере", "tв", entry(p_.TempIn_txt), "°C");
    row("Относительная влажность в камере", "φв", entry(t.HumidIn_txt), "%");
    row("Скорость движения воздуха в камере", "v", entry(t.Velocity_txt), "м/с");
    row("Рабочий цикл агрегата", "b", entry(p_.Cycle_txt), "%");
    climate();
}

void Writer::climate() {
    row("Место расположения камеры", "", list("Location_cmb", FieldForm::Main, p_.Location_cmb), "");
    row("Широта места", "", Num(r_.trace.envelope.latitude, 2), "°");
    if (p_.Location_cmb < 0 || p_.Location_cmb >= d_.Loc_array.rowCount()) return;
    row("Расчётная летняя температура наружного воздуха", "tн",
        GeneralText(d_.Loc_array.number(LocationColumn::Temperature, p_.Location_cmb)), "°C");
    row("Относительная влажность наружного воздуха", "φн",
        GeneralText(d_.Loc_array.number(LocationColumn::Humidity, p_.Location_cmb)), "%");
    text("Расчётная летняя температура наружного воздуха t_н = 0,4·t_ср.м + 0,6·t_абс.макс (правило курсового "
         "проектирования холодильников; t_ср.м — средняя температура наиболее теплого месяца, "
         "СП 131.13330.2020, табл. 5.1; t_абс.макс — абсолютная максимальная температура, табл. 4.1); "
         "относительная влажность — средняя в 15 ч наиболее теплого месяца, СП 131.13330.2020, табл. 4.1. "
         "Температуры за ограждениями и у двери — как заданы в проекте (ниже).");
}

// ---- Warnings and signatures ------------------------------------------------------------------

void Writer::problems() {
    std::vector<std::string> all;
    auto add = [&](const std::string& s) {
        if (!s.empty() && std::find(all.begin(), all.end(), s) == all.end()) all.push_back(s);
    };
    for (const std::string& s : r_.envelopeProblems) add(s);
    add(r_.operationProblem);
    for (const std::string& s : r_.productProblems) add(s);
    add(r_.packagingProblem);
    add(r_.loads.problem);
    if (r_.cooling.status == CoolingTimeResult::Status::Error) add(kCoolingTimeErrorText);
    if (r_.cooling.tooShort) add("Желаемое время охлаждения меньше расчётного.");
    for (const std::string& s : r_.notices) add(s);
    for (const std::string& s : FieldsOutOfRange(p_)) add("Значение вне допустимых пределов: " + s);
    if (all.empty()) {
        // A line after the last section rather than a section of its own, which could fill a page
        // with one word.
        text("Предупреждений нет: все величины определены, введённые значения в допустимых пределах.");
    } else {
        section("Предупреждения");
        for (const std::string& s : all) text("— " + s);
    }
    signatures();
}

void Writer::signatures() {
    const std::string line = "____________________";
    auto name = [](const std::string& n) { return n.empty() ? std::string("____________________") : n; };
    note.blocks.push_back({NoteBlock::Kind::Signature, "Разработал: " + line + " / " + name(o_.heading.author) + " /", {}});
    note.blocks.push_back({NoteBlock::Kind::Signature, "Проверил: " + line + " / " + name(o_.checker) + " /", {}});
    note.blocks.push_back({NoteBlock::Kind::Signature, "Дата: " + o_.heading.date, {}});
}

}  // namespace note

bool NoteRow::wide() const {
    double ignored = 0;
    return formula.empty() && !value.empty() && !StrictNumber(value, ignored);
}

const NoteRow* CalculationNote::Find(const std::string& key) const {
    for (const NoteBlock& b : blocks)
        for (const NoteRow& r : b.rows)
            if (r.key == key) return &r;
    return nullptr;
}

CalculationNote BuildCalculationNote(const RoomProject& project, const RoomResult& result, const ReferenceData& data,
                                     const NoteOptions& options) {
    note::Writer w(project, result, data, options);
    w.note.title = options.heading.title;
    w.note.heading = {"Расчёт теплопритоков в холодильную камеру и требуемой холодопроизводительности"};
    if (!options.projectNumber.empty()) w.note.heading.push_back("Номер проекта: " + options.projectNumber);
    w.note.heading.push_back("Дата: " + options.heading.date);
    w.note.heading.push_back("Расчёт выполнил: " + options.heading.author);
    w.note.heading.push_back(std::string("Программа: ") + kAppTitle + ", версия " + COLDROOM_VERSION);
    if (!options.dataPath.empty()) w.note.heading.push_back("Справочные данные: " + ReferenceDataOrigin(options.dataPath));
    w.inputs();
    w.envelope();
    w.product();
    w.packaging();
    w.operation();
    w.totals();
    w.coolingTime();
    w.problems();
    return w.finish();
}

std::string NotePageFooter(int page, int pages) {
    return "Лист " + std::to_string(page) + " из " + std::to_string(pages);
}

}  // namespace coldroom

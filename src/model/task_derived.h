// What the task's inputs imply, derived afresh from them and the reference tables every time it
// is needed: the chosen task's product list, the product row, whether the product breathes, the
// hours and the daily mass the loads read. A project keeps only what a person entered, so a
// project filled in by any client (a form, a file, a store, a study, a script) computes alike.
#pragma once

#include <string>
#include <vector>

#include "model/reference_data.h"
#include "model/room_project.h"

namespace coldroom {

struct DerivedTask {
    int taskRow = 0;                  // row of Tasks: the offered task chosen; with none, the first task's
    std::vector<double> products;     // the task's product numbers, as the product list offers them
    int productRow = 0;               // row of ProdMeat; with no product at the chosen place, the first
    bool respiration = false;         // the task's products breathe (its list is exactly "27,28")
    float hours = 0;                  // the requested cooling time, single precision
    double requestedHours = 0;        // the same, as typed
    std::string turnoverTonnes;       // the daily turnover in tonnes, as the window shows it
    float dailyMassKg = 0;            // the same in kilograms, single precision
};

DerivedTask DeriveTask(const TaskValues& task, const ReferenceData& data);
inline DerivedTask DeriveTask(const RoomProject& project, const ReferenceData& data) {
    return DeriveTask(project.task, data);
}

// The chosen task's row of Tasks (the first task's when none is chosen).
int ChosenTaskRow(const TaskValues& task);
// The product numbers the chosen task offers.
std::vector<double> TaskProductList(const TaskValues& task, const ReferenceData& data);
// The chosen task's products breathe (its list is exactly "27,28").
bool TaskProductsBreathe(const TaskValues& task, const ReferenceData& data);
// The product row at list position `position` of `products` (-2 for a number no row can be).
int ProductRowAt(const std::vector<double>& products, int position);

// The daily turnover: its share of the load is what a file keeps; tonnes typed in the dialog
// keep the precision they carry as long as the share shown still follows from them.
std::string TurnoverTonnesText(const TaskValues& task);

}  // namespace coldroom

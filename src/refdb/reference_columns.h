// Column positions of the reference tables that the forms read by number, and the sizes of
// the product lists a task may hold. One place, so a reader cannot drift from the schema.
#pragma once

namespace coldroom {

// Tasks.
namespace TaskColumn {
enum : int { Name = 0, TempCell, TempIn, TempOut, Humidity, CoolTime, Velocity, Reference };
}

// ProdMeat.
namespace ProductColumn {
enum : int {
    Name = 0,
    Norma,
    SpecificHeat,
    SpecificHeatFrozen,
    Temperatures,
    Enthalpy,
    Water,
    Conductivity,
    ConductivityFrozen,
    Dimension,
    Shape,
    Density,
    Cryoscopic,
    LatentHeat,
};
}

// How many product numbers of a task's Reference list the task dialog reads, and how many
// the parameter editor lets a task hold.
inline constexpr int kTaskProductsInDialog = 11;
inline constexpr int kTaskProductsInEditor = 21;

}  // namespace coldroom

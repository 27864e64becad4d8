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

// Location: the site's latitude (in the column the schema names Longitude), design
// temperature and humidity.
namespace LocationColumn {
enum : int { City = 0, Latitude, Temperature, Humidity };
}

// Isolation, Tara, Upper and Others are name-value tables: conductivity, specific heat,
// absorption, parameter value.
inline constexpr int kValueColumn = 1;

// The rows of Others, each one global parameter.
namespace OthersRow {
enum : int { IllumStore = 0, IllumTechno, AttenuationStripCurtain, AttenuationAirCurtain, FanPowerShare };
}

// How many product numbers of a task's Reference list the task dialog reads; the parameter
// editor lets a task hold no more, since a product past them would never be offered.
inline constexpr int kTaskProductsInDialog = 11;

}  // namespace coldroom

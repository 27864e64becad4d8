#include "ui/main/door_notice.h"

#include <cmath>

#include "core/numtext.h"
#include "model/plant_settings.h"

namespace coldroom {

namespace {

constexpr int kChilledStorage = 0, kFrozenStorage = 1;  // positions in RoomTypeNames()

}  // namespace

const char* const kStandardDoorAdvice =
    "Стандартные условия: теплоприток через дверь по норме на 1 м² площади пола для выбранного типа камеры "
    "(обычное движение грузов). Подходит для камер хранения, дверь которых открывается редко и ненадолго.";
const char* const kSpecialDoorAdvice =
    "Специальные условия: воздухообмен через открытую дверь заданного размера за заданное время в сутки, "
    "с наружным воздухом и занавесью. Выбирайте его, когда дверь большая или открыта подолгу (экспедиция, "
    "погрузка): результат может быть в десятки раз больше нормы. При сомнении сравните оба способа и "
    "примите больший теплоприток.";

std::string DoorRoomTypeNotice(const RoomProject& p) {
    if (!p.Door_Standard_opt) return {};
    const int type = p.TypeOfCell_cmb;
    if (type != kChilledStorage && type != kFrozenStorage) return {};
    const double t = LeadingNumber(p.TempIn_txt);
    if (!std::isfinite(t)) return {};
    // A store room the warmest default level serves (its coil evaporating at or above that t0)
    // holds chilled goods, a colder one frozen.
    const int fits = t - kDefaultCoilDifference >= DefaultPlantLevels().front().evaporating ? kChilledStorage : kFrozenStorage;
    if (fits == type) return {};
    return "Тип камеры не соответствует температуре в камере " + p.TempIn_txt + " °C: для нее подходит «" +
           RoomTypeNames()[fits] + "».";
}

}  // namespace coldroom

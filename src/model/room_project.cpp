#include "model/room_project.h"

namespace coldroom {

RoomProject::RoomProject() {
    for (auto& layers : thickness) layers = {"100", "0", "0"};
    for (int s = 0; s < kSurfaceCount; ++s) sideTemp[s] = s == kFloor ? "0" : "27";
}

const std::vector<std::string>& RoomTypeNames() {
    static const std::vector<std::string> names = {
        "Камера хранения охлажденных продуктов", "Камера хранения мороженых продуктов",
        "Камеры охлаждения мясной и молочной продукции", "Отделение разделки мяса",
        "Машинный зал", "Шприцовочные отделения", "Сушильные камеры для колбас",
        "Экспедиция и приемная"};
    return names;
}

const std::vector<std::string>& CurtainNames() {
    static const std::vector<std::string> names = {"Нет занавеси", "Ленточная", "Воздушная"};
    return names;
}

const std::vector<std::string>& ShiftNames() {
    static const std::vector<std::string> names = {"Непрерывный", "Сменный"};
    return names;
}

}  // namespace coldroom

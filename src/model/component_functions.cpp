#include "model/component_functions.h"

namespace coldroom {

const std::vector<ComponentFunction>& ComponentFunctions() {
    static const std::vector<ComponentFunction> functions{};
    return functions;
}

}  // namespace coldroom

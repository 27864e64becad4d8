// The desktop program's settings file, read without the toolkit: the command-line tool takes
// the person's design margin from it, so that both programs show the same capacity.
#pragma once

#include <optional>
#include <string>

namespace coldroom {

// $XDG_CONFIG_HOME/ColdRoom/ColdRoom.conf, or ~/.config/ColdRoom/ColdRoom.conf; "" when
// neither variable tells.
std::string UserSettingsFile();

// The value of `key` ("calculation/designMargin": section, then name) in an INI file as the
// desktop writes it; none when the file is missing, is not a regular file, is larger than a
// settings file can be, or has no such key.
std::optional<std::string> ReadSettingsValue(const std::string& path, const std::string& key);

}  // namespace coldroom

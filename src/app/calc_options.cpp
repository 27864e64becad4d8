#include "app/calc_options.h"

#include <cmath>
#include <string_view>

#include "core/numtext.h"

namespace coldroom {

bool ParseCalcArguments(int argc, const char* const* argv, CalcOptions& options, std::string& error) {
    bool optionsEnd = false;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (!optionsEnd && arg.size() > 1 && arg[0] == '-') {
            if (arg == "--") {
                optionsEnd = true;
            } else if (arg == "--json") {
                options.json = true;
            } else if (arg == "--energy") {
                options.energy = true;
            } else if (arg == "--help" || arg == "-h") {
                options.help = true;
            } else if (arg == "--version") {
                options.version = true;
            } else if (arg == "--restore-reference-data") {
                options.restore = true;
            } else if (arg == "--margin") {
                double percent = -1;
                if (i + 1 >= argc || !StrictNumber(argv[i + 1], percent) || percent != std::floor(percent) ||
                    percent < 0 || percent > kMaxDesignMargin) {
                    error = "после --margin нужно целое число от 0 до " + std::to_string(kMaxDesignMargin);
                    return false;
                }
                options.margin = static_cast<int>(percent);
                ++i;
            } else if (arg == "--set" || arg == "--vary") {
                Setting setting;
                if (i + 1 >= argc || !ParseSetting(argv[i + 1], setting)) {
                    error = "после " + std::string(arg) + " нужно ИМЯ=" + (arg == "--set" ? "ТЕКСТ" : "ОТ:ДО:ШАГ");
                    return false;
                }
                if (arg == "--set") options.settings.push_back(setting);
                else options.axes.push_back(argv[i + 1]);
                ++i;
            } else if (std::string* target = arg == "--db"     ? &options.database
                                             : arg == "--save" ? &options.saveTo
                                             : arg == "--html" ? &options.html
                                             : arg == "--csv"  ? &options.csv
                                             : arg == "--pdf"  ? &options.pdf
                                             : arg == "--store" ? &options.store
                                             : arg == "--note" ? &options.note
                                             : arg == "--author" ? &options.author
                                             : arg == "--title" ? &options.title
                                             : arg == "--insulation" ? &options.insulation
                                             : arg == "--insulation-room" ? &options.insulationRoom
                                                               : nullptr) {
                if (i + 1 >= argc || std::string_view(argv[i + 1]).empty()) {
                    const bool heading = arg == "--author" || arg == "--title";
                    error = "после " + std::string(arg) +
                            (heading ? " нужен текст" : arg == "--insulation" ? " нужно ОТ:ДО:ШАГ" : " нужен путь к файлу");
                    return false;
                }
                *target = argv[++i];
            } else {
                error = "неизвестный параметр " + std::string(arg);
                return false;
            }
        } else if (options.project.empty()) {
            if (arg.empty()) {
                error = "пустое имя файла проекта";
                return false;
            }
            options.project = arg;
        } else {
            options.moreProjects.push_back(std::string(arg));  // a summary of several projects
        }
    }
    return true;
}

}  // namespace coldroom

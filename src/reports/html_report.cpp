#include "reports/html_report.h"

#include "core/load_components.h"
#include "reports/report_file.h"

namespace coldroom {

std::string HtmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

std::vector<std::string> HtmlReportLines(const ReportInput& in) {
    const std::string TABLE = R"(<TABLE WIDTH="600" CELLSPACING="1" CELLPADDING="3" BORDER="1">)";
    const std::string VAL = R"(<TD BGCOLOR="#EBEBEB"><B>)";
    const std::string ENDVAL = "</B></TD>";
    const std::string NEXT = "</TR><TR>";
    const std::string WIDE3 = R"(<TD COLSPAN="3" BGCOLOR="#EBEBEB"><B>)";

    const auto layers = LayerMaterialNames(in);
    auto v = [&](const char* name) { return HtmlEscape(in.Text(name)); };
    auto load = [&](LoadId id) { return v(LoadControl(id).c_str()); };
    auto wideLabel = [](LoadId id) { return R"(<TD COLSPAN="2"><I>)" + HtmlEscape(LoadCaption(id)) + "</I></TD>"; };
    auto layer = [&](const char* surface, int n) {
        return HtmlEscape(layers[static_cast<size_t>(LayerIndex(surface, n))]);
    };
    auto mat = [](const std::string& name) { return "<TD><I>" + name + "</I></TD>"; };
    auto thick = [&](const char* field) { return VAL + v(field) + " мм" + ENDVAL; };
    auto label = [](const char* text) { return std::string("<TD><I>") + text + "</I></TD>"; };
    // A pair of layer rows (2 or 3) for two surfaces standing side by side.
    auto layerRow = [&](const char* left, const char* right, int n, const std::string& end) {
        const std::string ln = std::to_string(n);
        return mat(layer(left, n)) + thick((std::string(left) + ln + "_D_txt").c_str()) +
               mat(layer(right, n)) + thick((std::string(right) + ln + "_D_txt").c_str()) + end;
    };
    const std::string title = HtmlEscape(in.projectTitle);

    std::vector<std::string> l;
    l.reserve(55);
    // The file is Windows-1251; declaring it lets every browser read it right.
    l.push_back(R"(<HTML><HEAD><META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=windows-1251">)");
    l.push_back("<TITLE>" + title + "</TITLE>");
    l.push_back(R"(</HEAD><BODY><DIV ALIGN="center" >)" + TABLE);
    l.push_back(R"(<TR><TD><FONT SIZE="+1">Раcчет теплопотерь в холодильной камере</FONT></TD>)"
                "<TD><I>Дата: " + HtmlEscape(in.dateText) + "</I></TD></TR><TR>");
    l.push_back(R"(<TH COLSPAN="2" BGCOLOR="#FFFFCC"><H2><CENTER>)" + title +
                "</CENTER></H2></TH>");
    l.push_back(R"(</TR><TR><TD COLSPAN="2" BGCOLOR="#E6E6FF"><B>РАЗМЕРЫ КАМЕРЫ</B></TD>)" +
                NEXT + label("Длина") + VAL + v("Length_txt") + " м" + ENDVAL + NEXT);
    l.push_back(label("Ширина") + VAL + v("Width_txt") + " м" + ENDVAL + NEXT);
    l.push_back(label("Высота") + VAL + v("Height_txt") + " м" + ENDVAL + NEXT);
    l.push_back(label("Объем") + VAL + v("Volume_txt") + " куб.м" + ENDVAL + "</TR></TABLE>");
    // 10
    l.push_back(TABLE + R"(<TR><TD COLSPAN="6" BGCOLOR="#E6E6FF"><B>ТЕПЛОИЗОЛЯЦИЯ</B></TD>)" +
                NEXT + R"(<TD COLSPAN="6">СТЕНЫ</TD>)" + NEXT);
    l.push_back(R"(<TD ROWSPAN="3" VALIGN="TOP">Юг</TD>)" + mat(v("South1_Mt_cmb")) +
                thick("South1_D_txt"));
    l.push_back(R"(<TD ROWSPAN="3" VALIGN="TOP">Север</TD>)" + mat(v("Nord1_Mt_cmb")) +
                thick("Nord1_D_txt") + NEXT);
    l.push_back(layerRow("South", "Nord", 2, NEXT));
    l.push_back(layerRow("South", "Nord", 3, NEXT));
    l.push_back(R"(<TD ROWSPAN="3" VALIGN="TOP">Восток</TD>)" + mat(v("East1_Mt_cmb")) +
                thick("East1_D_txt"));
    l.push_back(R"(<TD ROWSPAN="3" VALIGN="TOP">Запад</TD>)" + mat(v("West1_Mt_cmb")) +
                thick("West1_D_txt") + NEXT);
    l.push_back(layerRow("East", "West", 2, NEXT));
    l.push_back(layerRow("East", "West", 3, NEXT));
    l.push_back(in.Option("CeilIns_opt")
                    ? R"(<TD ROWSPAN="4" VALIGN="TOP">ПОТОЛОК  <BR>-  <I> перекрытие</I></TD>)"
                    : R"(<TD ROWSPAN="4" VALIGN="TOP">ПОТОЛОК  <BR>-  <I> крыша</I></TD>)");
    // 20
    l.push_back(R"(<TD COLSPAN="2"><I>)" + v("CeilSurf_cmb") + "</I></TD>");
    // The heated mark is written with a Latin "c", as the report always had it.
    l.push_back(in.Option("FloorHeat_Opt")
                    ? R"(<TD ROWSPAN="4" VALIGN="TOP">ПОЛ <BR>- <I>c подогревом</I></TD>)"
                    : R"(<TD ROWSPAN="4" VALIGN="TOP">ПОЛ <BR>- <I>без подогрева</I></TD>)");
    l.push_back(in.Option("FloorGrunt_Opt") ? R"(<TD COLSPAN="2"><I>на грунте</I></TD>)"
                                            : R"(<TD COLSPAN="2"><I>над помещением</I></TD>)");
    l.push_back(NEXT);
    l.push_back(mat(v("Ceil1_Mt_cmb")) + thick("Ceil1_D_txt") + mat(v("Floor1_Mt_cmb")) +
                thick("Floor1_D_txt") + NEXT);
    l.push_back(layerRow("Ceil", "Floor", 2, NEXT));
    l.push_back(layerRow("Ceil", "Floor", 3, "</TR></TABLE>"));
    l.push_back(TABLE);
    l.push_back(R"(<TR><TD COLSPAN="4" BGCOLOR="#E6E6FF"><B>ТЕМПЕРАТУРНЫЙ РЕЖИМ</B></TD></TR>)");
    l.push_back("<TR>" + label("В камере") + VAL + v("TempIn_txt") + " °С" + ENDVAL +
                R"(<TD COLSPAN="2"></TD>)" + NEXT);
    // 30
    l.push_back(label("Южная стена") + VAL + v("TempSouth_txt") + " °С" + ENDVAL +
                label("Северная стена") + VAL + v("TempNord_txt") + " °С" + ENDVAL + NEXT);
    l.push_back(label("Восточная стена") + VAL + v("TempEast_txt") + " °С" + ENDVAL +
                label("Западная стена") + VAL + v("TempWest_txt") + " °С" + ENDVAL + NEXT);
    l.push_back(label("Над потолком") + VAL + v("TempCeil_txt") + " °С" + ENDVAL +
                label("Под полом") + VAL + v("TempFloor_txt") + " °С" + ENDVAL +
                "</TR></TABLE>");
    l.push_back(TABLE);
    l.push_back(R"(<TR><TD COLSPAN="4" BGCOLOR="#E6E6FF"><B>ПРОДУКТЫ В КАМЕРЕ</B></TD></TR>)");
    l.push_back("<TR>" + label("Тип продукта") + R"(<TD COLSPAN="3"><B>)" +
                v("TypeOfProduct_lbl") + ENDVAL + NEXT);
    l.push_back(label("Загрузка камеры") + VAL + v("Loading_lbl") + " т" + ENDVAL +
                label("Масса охлаждаемой продукции") + VAL + v("Oborot_lbl") + " т" + ENDVAL +
                NEXT);
    l.push_back(label("Начальная температура продукта") + VAL + v("TempIn_lbl") + " °С" +
                ENDVAL + label("Конечная температура продукта") + VAL + v("TempEnd_lbl") +
                " °С" + ENDVAL + NEXT);
    l.push_back(label("Скорость циркуляции воздуха") + VAL + v("AirSpeed_lbl") + " м/с" +
                ENDVAL + label("Упаковка продукта") + VAL + v("Tara_lbl") + ENDVAL + NEXT);
    l.push_back(label("Длительность охлаждения") + VAL + v("TimeReal_lbl") + " ч" + ENDVAL +
                label("при минимально возможной") + VAL + v("TimeMin_lbl") + " ч" + ENDVAL +
                "</TR></TABLE>");
    // 40
    l.push_back(TABLE);
    l.push_back(R"(<TR><TD COLSPAN="4" BGCOLOR="#E6E6FF"><B>ПАРАМЕТРЫ ЭКСПЛУАТАЦИИ</B></TD>)");
    l.push_back(NEXT + label("Тип камеры") + R"(<TD COLSPAN="3" BGCOLOR="#EBEBEB">)" +
                v("TypeOfCell_cmb") + "</TD>" + NEXT);
    l.push_back(label("Рабочий цикл агрегата") + VAL + v("Cycle_txt") + " %" + ENDVAL +
                label("Кол-во работающих людей") + VAL + HtmlEscape(PeopleLoadText(in)) +
                " чел*час" + ENDVAL + NEXT);
    l.push_back(label("Теплоприток от технологического оборудования") + VAL + v("Electro_txt") +
                " кВт час" + ENDVAL + label("Мощность эл-двигателей воздухоохладителей") + VAL +
                v("ElectroEva_txt") + " Вт" + ENDVAL + NEXT);
    l.push_back(label("Тип занавеси") + WIDE3 + v("TypeOfCurtain_cmb") + ENDVAL + NEXT +
                label("Место расположения камеры") + WIDE3 + v("Location_cmb") + ENDVAL +
                "</TR></TABLE>");
    l.push_back(TABLE + R"(<TR><TD COLSPAN="7" BGCOLOR="#E6E6FF"><B>ТЕПЛОПОТЕРИ, Вт</B></TD>)" +
                NEXT);
    l.push_back(label("Термодиффузия через") + "<TD>СТЕНЫ</TD>" + VAL + WallLossText(in) +
                ENDVAL + "<TD>ПОЛ</TD>" + VAL + load(LoadId::Floor) + ENDVAL +
                "<TD>ПОТОЛОК</TD>" + VAL + load(LoadId::Ceiling) + ENDVAL + NEXT);
    l.push_back(wideLabel(LoadId::Product) + R"(<TD COLSPAN="2" BGCOLOR="#EBEBEB"><B>)" +
                load(LoadId::Product) + ENDVAL + wideLabel(LoadId::Packaging) + VAL +
                load(LoadId::Packaging) + ENDVAL + NEXT);
    l.push_back(wideLabel(LoadId::Operation) + R"(<TD COLSPAN="5" BGCOLOR="#EBEBEB"><B>)" +
                load(LoadId::Operation) + ENDVAL + NEXT);
    // 50
    l.push_back(R"(<TD COLSPAN="4" BGCOLOR="#FFDCCC"><B>СУММАРНЫЕ ПОТЕРИ</B></TD>)");
    l.push_back(R"(<TD COLSPAN="3" ALIGN="CENTER" BGCOLOR="#EBEBEB"><B><FONT SIZE="+1">)" +
                load(LoadId::Total) + " Вт</FONT></B></TD>" + NEXT);
    l.push_back(R"(<TD COLSPAN="4" BGCOLOR="#FFDCCC"><B>ТРЕБУЕМАЯ ПРОИЗВОДИТЕЛЬНОСТЬ</B></TD>)");
    l.push_back(R"(<TD COLSPAN="3" ALIGN="CENTER" BGCOLOR="#EBEBEB"><B><FONT SIZE="+1">)" +
                load(LoadId::Capacity) + " Вт</FONT></B></TD>");
    l.push_back("</TR></TABLE><P>&nbsp;<BR><BR></P>");
    l.push_back(TABLE + R"(<TR><TD WIDTH="400"><I>Расчет сделан</I></TD>)" + VAL +
                HtmlEscape(in.author) + ENDVAL + "</TR></TABLE></DIV></BODY></HTML>");
    return l;
}

bool WriteHtmlReport(const std::string& path, const ReportInput& input, std::string& error) {
    return WriteReportLines(path, HtmlReportLines(input), input, error);
}

}  // namespace coldroom

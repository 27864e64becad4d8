#include "reports/html_report.h"

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
            // A control character (a tab kept in a field as the file held it) has no place in
            // a page's text; a blank shows what it stood for.
            default: out += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? ' ' : c;
        }
    }
    return out;
}

std::vector<std::string> HtmlReportLines(const ReportModel& m) {
    namespace rt = report_text;
    const std::string TABLE = R"(<TABLE WIDTH="600" CELLSPACING="1" CELLPADDING="3" BORDER="1">)";
    const std::string VAL = R"(<TD BGCOLOR="#EBEBEB"><B>)";
    const std::string ENDVAL = "</B></TD>";
    const std::string NEXT = "</TR><TR>";
    const std::string WIDE3 = R"(<TD COLSPAN="3" BGCOLOR="#EBEBEB"><B>)";

    auto label = [](const std::string& text) { return "<TD><I>" + text + "</I></TD>"; };
    // A labelled value: its label cell and its value cell with the unit.
    auto pair = [&](const ReportLine& line) { return label(line.label) + VAL + HtmlEscape(line.withUnit()) + ENDVAL; };
    auto value = [&](const ReportLine& line) { return HtmlEscape(line.value); };
    auto wideLabel = [](const ReportLine& line) { return R"(<TD COLSPAN="2"><I>)" + HtmlEscape(line.label) + "</I></TD>"; };
    auto mat = [](const std::string& name) { return "<TD><I>" + HtmlEscape(name) + "</I></TD>"; };
    auto thick = [&](const std::string& mm) { return VAL + HtmlEscape(mm) + " мм" + ENDVAL; };
    auto layerCells = [&](int surface, int layer) {
        const ReportSurface& s = m.surfaces[surface];
        return mat(s.material[layer]) + thick(s.thickness[layer]);
    };
    // The first layer of a surface, after the side's name spanning its three rows.
    auto firstLayer = [&](int surface) {
        return R"(<TD ROWSPAN="3" VALIGN="TOP">)" + m.surfaces[surface].side + "</TD>" + layerCells(surface, 0);
    };
    const std::string title = HtmlEscape(m.heading.title);

    std::vector<std::string> l;
    l.reserve(55);
    // The file is Windows-1251; declaring it lets every browser read it right.
    l.push_back(R"(<HTML><HEAD><META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=windows-1251">)");
    l.push_back("<TITLE>" + title + "</TITLE>");
    l.push_back(R"(</HEAD><BODY><DIV ALIGN="center" >)" + TABLE);
    l.push_back(std::string(R"(<TR><TD><FONT SIZE="+1">)") + kReportHeading + "</FONT></TD>"
                "<TD><I>Дата: " + HtmlEscape(m.heading.date) + "</I></TD></TR><TR>");
    l.push_back(R"(<TH COLSPAN="2" BGCOLOR="#FFFFCC"><H2><CENTER>)" + title +
                "</CENTER></H2></TH>");
    l.push_back(std::string(R"(</TR><TR><TD COLSPAN="2" BGCOLOR="#E6E6FF"><B>)") + rt::kDimensions + "</B></TD>" +
                NEXT + pair(m.length) + NEXT);
    l.push_back(pair(m.width) + NEXT);
    l.push_back(pair(m.height) + NEXT);
    l.push_back(pair(m.volume) + "</TR></TABLE>");
    // 10
    l.push_back(TABLE + R"(<TR><TD COLSPAN="6" BGCOLOR="#E6E6FF"><B>)" + rt::kInsulation + "</B></TD>" +
                NEXT + R"(<TD COLSPAN="6">)" + rt::kWalls + "</TD>" + NEXT);
    l.push_back(firstLayer(kSouth));
    l.push_back(firstLayer(kNorth) + NEXT);
    l.push_back(layerCells(kSouth, 1) + layerCells(kNorth, 1) + NEXT);
    l.push_back(layerCells(kSouth, 2) + layerCells(kNorth, 2) + NEXT);
    l.push_back(firstLayer(kEast));
    l.push_back(firstLayer(kWest) + NEXT);
    l.push_back(layerCells(kEast, 1) + layerCells(kWest, 1) + NEXT);
    l.push_back(layerCells(kEast, 2) + layerCells(kWest, 2) + NEXT);
    l.push_back(m.ceilingIsSlab
                    ? R"(<TD ROWSPAN="4" VALIGN="TOP">ПОТОЛОК  <BR>-  <I> перекрытие</I></TD>)"
                    : R"(<TD ROWSPAN="4" VALIGN="TOP">ПОТОЛОК  <BR>-  <I> крыша</I></TD>)");
    // 20
    l.push_back(R"(<TD COLSPAN="2"><I>)" + HtmlEscape(m.ceilingCoating) + "</I></TD>");
    // The heated mark is written with a Latin "c", as the report always had it.
    l.push_back(m.floorHeated
                    ? R"(<TD ROWSPAN="4" VALIGN="TOP">ПОЛ <BR>- <I>c подогревом</I></TD>)"
                    : R"(<TD ROWSPAN="4" VALIGN="TOP">ПОЛ <BR>- <I>без подогрева</I></TD>)");
    l.push_back(m.floorOnGround ? R"(<TD COLSPAN="2"><I>на грунте</I></TD>)"
                                : R"(<TD COLSPAN="2"><I>над помещением</I></TD>)");
    l.push_back(NEXT);
    l.push_back(layerCells(kCeiling, 0) + layerCells(kFloor, 0) + NEXT);
    l.push_back(layerCells(kCeiling, 1) + layerCells(kFloor, 1) + NEXT);
    l.push_back(layerCells(kCeiling, 2) + layerCells(kFloor, 2) + "</TR></TABLE>");
    l.push_back(TABLE);
    l.push_back(std::string(R"(<TR><TD COLSPAN="4" BGCOLOR="#E6E6FF"><B>)") + rt::kTemperatures + "</B></TD></TR>");
    l.push_back("<TR>" + pair(m.roomTemperature) + R"(<TD COLSPAN="2"></TD>)" + NEXT);
    // 30
    const auto& side = m.sideTemperature;
    l.push_back(pair(side[kSouth]) + pair(side[kNorth]) + NEXT);
    l.push_back(pair(side[kEast]) + pair(side[kWest]) + NEXT);
    l.push_back(pair(side[kCeiling]) + pair(side[kFloor]) + "</TR></TABLE>");
    l.push_back(TABLE);
    l.push_back(std::string(R"(<TR><TD COLSPAN="4" BGCOLOR="#E6E6FF"><B>)") + rt::kProducts + "</B></TD></TR>");
    l.push_back("<TR>" + label(m.product.label) + R"(<TD COLSPAN="3"><B>)" + value(m.product) + ENDVAL + NEXT);
    l.push_back(pair(m.loading) + pair(m.turnover) + NEXT);
    l.push_back(pair(m.productStart) + pair(m.productEnd) + NEXT);
    l.push_back(pair(m.airSpeed) + pair(m.packaging) + NEXT);
    l.push_back(pair(m.requestedTime) + pair(m.shortestTime) + "</TR></TABLE>");
    // 40
    l.push_back(TABLE);
    l.push_back(std::string(R"(<TR><TD COLSPAN="4" BGCOLOR="#E6E6FF"><B>)") + rt::kOperation + "</B></TD>");
    // The page shows the kind of room and the curtain whatever the door conditions.
    l.push_back(NEXT + label(m.roomType.label) + R"(<TD COLSPAN="3" BGCOLOR="#EBEBEB">)" + value(m.roomType) +
                "</TD>" + NEXT);
    l.push_back(pair(m.cycle) + pair(m.people) + NEXT);
    l.push_back(pair(m.equipment) + pair(m.fanPower) + NEXT);
    l.push_back(label(m.curtain.label) + WIDE3 + value(m.curtain) + ENDVAL + NEXT + label(m.location.label) + WIDE3 +
                value(m.location) + ENDVAL + "</TR></TABLE>");
    l.push_back(TABLE + R"(<TR><TD COLSPAN="7" BGCOLOR="#E6E6FF"><B>)" + rt::kLosses + "</B></TD>" + NEXT);
    l.push_back(label(rt::kThrough) + "<TD>" + m.walls.label + "</TD>" + VAL + value(m.walls) + ENDVAL + "<TD>" +
                m.floor.label + "</TD>" + VAL + value(m.floor) + ENDVAL + "<TD>" + m.ceiling.label + "</TD>" + VAL +
                value(m.ceiling) + ENDVAL + NEXT);
    l.push_back(wideLabel(m.productLoad) + R"(<TD COLSPAN="2" BGCOLOR="#EBEBEB"><B>)" + value(m.productLoad) +
                ENDVAL + wideLabel(m.packagingLoad) + VAL + value(m.packagingLoad) + ENDVAL + NEXT);
    l.push_back(wideLabel(m.operation) + R"(<TD COLSPAN="5" BGCOLOR="#EBEBEB"><B>)" + value(m.operation) + ENDVAL +
                NEXT);
    // 50
    l.push_back(std::string(R"(<TD COLSPAN="4" BGCOLOR="#FFDCCC"><B>)") + m.total.label + "</B></TD>");
    l.push_back(R"(<TD COLSPAN="3" ALIGN="CENTER" BGCOLOR="#EBEBEB"><B><FONT SIZE="+1">)" +
                HtmlEscape(m.total.withUnit()) + "</FONT></B></TD>" + NEXT);
    // This page alone leaves out "ХОЛОДО".
    l.push_back(R"(<TD COLSPAN="4" BGCOLOR="#FFDCCC"><B>ТРЕБУЕМАЯ ПРОИЗВОДИТЕЛЬНОСТЬ</B></TD>)");
    l.push_back(R"(<TD COLSPAN="3" ALIGN="CENTER" BGCOLOR="#EBEBEB"><B><FONT SIZE="+1">)" +
                HtmlEscape(m.capacity.withUnit()) + "</FONT></B></TD>");
    l.push_back("</TR></TABLE><P>&nbsp;<BR><BR></P>");
    // What the person was told of the inputs, before the signature: never a figure silently.
    for (const std::string& w : m.warnings)
        l.push_back(R"(<P><FONT COLOR="#A02020"><B>Внимание:</B> )" + HtmlEscape(w) + "</FONT></P>");
    l.push_back(TABLE + R"(<TR><TD WIDTH="400"><I>)" + rt::kSignature + "</I></TD>" + VAL +
                HtmlEscape(m.heading.author) + ENDVAL + "</TR></TABLE></DIV></BODY></HTML>");
    return l;
}

bool WriteHtmlReport(const std::string& path, const ReportModel& model, std::string& error) {
    return WriteReportLines(path, HtmlReportLines(model), model.Values(), error);
}

}  // namespace coldroom

#include "manual/ManualFacts.h"

#include "editors/fields/EditorAreas.h"
#include "model/TZorvexSettings.h"

#include <fstream>
#include <sstream>

namespace ManualFacts {

namespace {

std::string Escape(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string Quoted(const std::string& text)
{
    return "„" + Escape(text) + "”";
}

// Items as the dialog lists them; a long list (event codes) by its first and last items.
std::string ItemList(const std::vector<std::string>& items)
{
    constexpr std::size_t Shown = 40;
    std::string out;
    if (items.size() <= Shown) {
        for (std::size_t k = 0; k < items.size(); ++k)
            out += (k ? ", " : "") + Quoted(items[k]);
        return out;
    }
    for (std::size_t k = 0; k < 4; ++k)
        out += Quoted(items[k]) + ", ";
    out += "…, " + Quoted(items[items.size() - 2]) + ", " + Quoted(items.back()) + " (" +
           std::to_string(items.size()) + " pozycji)";
    return out;
}

std::string Accepts(const EditorField& f)
{
    std::string out;
    switch (f.kind) {
    case fkText:
        out = f.maxLength > 0 ? "tekst, do " + std::to_string(f.maxLength) + " znaków" : "tekst";
        if (!f.emptyText.empty())
            out += "; puste pole oznacza " + Quoted(f.emptyText);
        break;
    case fkNumber:
        out = "liczba od " + std::to_string(f.minimum) + " do " + std::to_string(f.maximum);
        break;
    case fkYesNo:
        out = "NIE albo TAK";
        break;
    case fkList:
        out = "jedna pozycja listy: " + ItemList(f.items);
        break;
    case fkRadio:
        out = "jedna z opcji: " + ItemList(f.items);
        break;
    case fkTime:
        out = "godzina GG:MM (00:00 do 23:59)";
        break;
    case fkFlags:
        out = "dowolne zaznaczenie pól: " + ItemList(f.items);
        break;
    case fkDisplay:
        out = "tylko do odczytu";
        break;
    }
    if (f.secret)
        out += "; w kopii dla klienta drukowane jako " + Quoted("****");
    return out;
}

} // namespace

std::string ShownLabel(const std::string& dialogLabel)
{
    std::string out;
    for (std::size_t k = 0; k < dialogLabel.size(); ++k) {
        if (dialogLabel[k] == '&') {
            if (k + 1 < dialogLabel.size() && dialogLabel[k + 1] == '&')
                out += '&', ++k;
            continue;
        }
        out += dialogLabel[k];
    }
    return out;
}

std::string FactsTable(const EditorArea& area)
{
    TZorvexSettings factory;
    factory.LoadDefaults();
    std::ostringstream html;
    html << "<table class=\"facts\">\n"
         << "<tr><th>Pole</th><th>Przyjmuje</th><th>Ustawienie fabryczne</th><th>Uwagi</th></tr>\n";
    std::string group;
    for (const EditorField& f : area.fields) {
        if (f.group != group) {
            group = f.group;
            if (!group.empty())
                html << "<tr class=\"group\"><th colspan=\"4\">" << Escape(group) << "</th></tr>\n";
        }
        const std::string label = ShownLabel(f.label);
        const std::string value = f.read ? f.read(factory) : std::string();
        html << "<tr><td>"
             << (label.empty() ? "<i>(dalszy wiersz)</i>" : "<b>" + Escape(label) + "</b>")
             << "<br><code>" << Escape(area.key + "." + f.key) << "</code></td><td>" << Accepts(f)
             << "</td><td>" << (value.empty() ? "<i>(puste)</i>" : Quoted(value)) << "</td><td>"
             << Escape(f.note) << "</td></tr>\n";
    }
    html << "</table>";
    return html.str();
}

std::optional<std::string> FillPage(const std::string& page, const EditorArea& area)
{
    const std::string marker = Marker;
    const std::size_t at = page.find(marker);
    if (at == std::string::npos)
        return std::nullopt;
    return page.substr(0, at) + FactsTable(area) + page.substr(at + marker.size());
}

std::string WritePages(const std::string& pageDir, const std::string& outputDir)
{
    std::string problems;
    for (const EditorArea* area : EditorAreas()) {
        const std::string source = pageDir + "/" + area->key + ".html";
        std::ifstream in(source, std::ios::binary);
        if (!in) {
            problems += source + ": missing\n";
            continue;
        }
        std::ostringstream page;
        page << in.rdbuf();
        const std::optional<std::string> filled = FillPage(page.str(), *area);
        if (!filled) {
            problems += source + ": no line " + Marker + "\n";
            continue;
        }
        const std::string target = outputDir + "/" + area->key + ".html";
        std::ofstream out(target, std::ios::binary | std::ios::trunc);
        out << *filled << "<!-- Written by scripts/manual from manual/pages/" << area->key
            << ".html and the field table: edit those, not this file. -->\n";
        out.close();
        if (!out)
            problems += target + ": cannot write\n";
    }
    return problems;
}

} // namespace ManualFacts

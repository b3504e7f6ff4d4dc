#include <cstdio>
#include <iostream>
#include <limits>

#include "commands.h"
#include "io.h"
#include "json_codec.h"
#include "model/names.h"

namespace tool {

namespace {

using gmdk::Field;
using gmdk::Kind;
using gmdk::Record;
using gmdk::formatFloat;
using gmdk::letterText;
using gmdk::typeName;

struct Selection {
    std::vector<std::string> types;
    std::vector<int> groups;
    std::string records;
};

// FROM:TO counts records from 0; TO is excluded and either end may be left out.
void parseRange(const std::string& text, std::size_t& from, std::size_t& to) {
    from = 0;
    to = std::numeric_limits<std::size_t>::max();
    if (text.empty()) return;
    const auto colon = text.find(':');
    auto number = [&](const std::string& part, std::size_t& out) {
        if (part.empty()) return;
        std::size_t used = 0;
        unsigned long long value = 0;
        try {
            value = std::stoull(part, &used);
        } catch (const std::exception&) {
            used = 0;
        }
        if (used != part.size()) throw Error("--records wants FROM:TO with record numbers, not '" + text + "'");
        out = static_cast<std::size_t>(value);
    };
    if (colon == std::string::npos) {
        number(text, from);
        to = from + 1;
        return;
    }
    number(text.substr(0, colon), from);
    number(text.substr(colon + 1), to);
}

bool typeMatches(const Record& r, const std::string& wanted) {
    if (wanted == typeName(r.code, r.frame.letter) || wanted == letterText(r.frame.letter)) return true;
    return wanted == std::to_string(r.code);
}

bool selected(const Record& r, const Selection& s, std::size_t from, std::size_t to) {
    if (r.index < from || r.index >= to) return false;
    if (!s.groups.empty()) {
        bool any = false;
        for (int g : s.groups) any = any || g == r.frame.group;
        if (!any) return false;
    }
    if (s.types.empty()) return true;
    for (const std::string& t : s.types)
        if (typeMatches(r, t)) return true;
    return false;
}

std::string fieldText(const Field& f) {
    if (f.kind == Kind::Text) return Json(f.text).dump(-1, ' ', false, Json::error_handler_t::replace);
    std::string out;
    const std::size_t n = f.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i) out += ',';
        out += f.kind == Kind::Float ? formatFloat(f.floats[i]) : std::to_string(f.ints[i]);
    }
    return f.scalar && n == 1 ? out : "[" + out + "]";
}

std::string textLine(const Record& r) {
    std::string line = "@" + std::to_string(r.frame.offset) + " #" + std::to_string(r.index) + " " +
                       letterText(r.frame.letter) + " " + typeName(r.code, r.frame.letter) +
                       " group=" + std::to_string(r.frame.group) + " group2=" + std::to_string(r.frame.group2);
    if (!r.hasFields) {
        line += " words=" + std::to_string(r.frame.wordCount()) + " raw=" +
                hexBytes(r.frame.payload.data(), r.frame.payload.size());
        return line;
    }
    for (const Field& f : r.fields) line += " " + f.name + "=" + fieldText(f);
    return line;
}

int run(const std::string& name, bool json, const Selection& selection, bool force) {
    std::size_t from = 0, to = 0;
    parseRange(selection.records, from, to);
    InputFile input(name);
    gmdk::RecordReader reader(input.path());
    requireOpened(reader, input.label());
    Record r;
    while (reader.next(r)) {
        if (!selected(r, selection, from, to)) continue;
        std::cout << (json ? tool::recordLine(r) : textLine(r)) << '\n';
    }
    std::cout.flush();
    return finishReading(reader, input.label(), force);
}

}  // namespace

void addDump(CLI::App& app, int& status) {
    auto* cmd = app.add_subcommand("dump", "Print every record with its offset, letter, type, group bytes and fields.");
    auto file = std::make_shared<std::string>();
    auto json = std::make_shared<bool>(false);
    auto selection = std::make_shared<Selection>();
    cmd->add_option("FILE", *file, "GMD file, or - for standard input")->required();
    cmd->add_flag("--json", *json, "Print JSON Lines, one object per record");
    cmd->add_option("--type", selection->types, "Only records of this type name, letter or type code (repeatable)");
    cmd->add_option("--group", selection->groups, "Only records with this group byte (repeatable)");
    cmd->add_option("--records", selection->records, "Only records FROM:TO (from 0, TO excluded; N alone is one record)");
    auto force = std::make_shared<bool>(false);
    cmd->add_flag("--force", *force, "Exit 0 at damage after printing the records before it");
    cmd->callback([&status, file, json, selection, force] { status = run(*file, *json, *selection, *force); });
}

}  // namespace tool

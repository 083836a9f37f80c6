#include "reference.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "keystrokes.h"
#include "layout.h"
#include "typing.h"

namespace {

struct ReferenceItem {
    const char* keys;   // in the KEYS language
    const char* label = nullptr;  // shown in place of keys that cannot be shown as typed
};

struct ReferenceSection {
    const char* title;
    const char* intro;
    const ReferenceItem* items;
    std::size_t count;
    bool codePoints;  // whole phrases would make the Unicode column unreadable
};

// The rows to show: the only part written by hand. What each one gives is
// typed through the engine when the reference is made.
constexpr ReferenceItem Letters[] = {
    {"ka"},  {"kha"},  {"ga"},  {"nga"},
    {"ca"},  {"cha"},  {"ja"},  {"nya"},
    {"ta"},  {"tha"},  {"da"},  {"na"},
    {"pa"},  {"pha"},  {"ba"},  {"ma"},
    {"tsa"}, {"tsha"}, {"dza"}, {"wa"},
    {"zha"}, {"za"},   {"'a"},  {"ya"},
    {"ra"},  {"la"},   {"sha"}, {"sa"},
    {"ha"},  {"a"},
};

constexpr ReferenceItem Stacks[] = {
    {"kya"}, {"kra"}, {"kla"}, {"kwa"},
    {"rka"}, {"lka"}, {"ska"},
};

constexpr ReferenceItem Subjoined[] = {
    {"+k"},  {"+kh"},  {"+g"},  {"+ng"},
    {"+c"},  {"+ch"},  {"+j"},  {"+ny"},
    {"+t"},  {"+th"},  {"+d"},  {"+n"},
    {"+p"},  {"+ph"},  {"+b"},  {"+m"},
    {"+ts"}, {"+tsh"}, {"+dz"}, {"+w"},
    {"+zh"}, {"+z"},   {"+'"},  {"+y"},
    {"+r"},  {"+l"},   {"+sh"}, {"+s"},
    {"+h"},
};

constexpr ReferenceItem Vowels[] = {
    {"ki"}, {"ku"}, {"ke"}, {"ko"},
    {"kai"}, {"kau"}, {"kI"},
    {"i"}, {"u"}, {"e"}, {"o"},
    {"ai"}, {"au"},
};

constexpr ReferenceItem LongVowels[] = {
    {"kA"}, {"kaa"}, {"kii"}, {"kuu"}, {"kII"},
};

constexpr ReferenceItem Sanskrit[] = {
    {"Ta"},  {"Tha"}, {"Da"},   {"Dha"},
    {"Na"},  {"Sha"}, {"kSha"}, {"gha"},
    {"dha"}, {"bha"}, {"dzha"}, {"Ra"},
    {"fa"},  {"va"},
    {"+T"},  {"+Th"}, {"+D"},   {"+Dh"},
    {"+N"},  {"+Sh"}, {"+R"},   {"+Y"},
    {"+W"},
    {"M"},   {"H"},   {"q"},    {"Q"},
    {"?"},
};

constexpr ReferenceItem Digits[] = {
    {"0"}, {"1"}, {"2"}, {"3"}, {"4"},
    {"5"}, {"6"}, {"7"}, {"8"}, {"9"},
};

constexpr ReferenceItem Punctuation[] = {
    {" ", "space bar"}, {"-"}, {"{LSHIFT down} {LSHIFT up}", "Shift+space bar"},
    {"_"},     {"/"}, {";"}, {":"},
    {"*"},     {"!"}, {"@"}, {"#"},
    {"$"},     {"%"}, {"^"}, {"&"},
    {"("},     {")"}, {"="}, {"<"},
    {">"},
};

constexpr ReferenceItem Examples[] = {
    {"bkra shis bde legs/"}, {"bsgrubs rgyal mtsho/"},
    {"sangs rgyas"},         {"byang chub sems dpa'"},
    {"g.yag"},               {"pad+ma"},
    {"sid+dhi"},             {"oM"},
};

template <std::size_t N>
constexpr ReferenceSection Section(const char* title, const char* intro, const ReferenceItem (&items)[N],
                                   bool codePoints = true) {
    return {title, intro, items, N, codePoints};
}

const ReferenceSection Sections[] = {
    Section("Letters", "Each letter carries the vowel a: type it with or without the a.", Letters),
    Section("Letters under and over others",
            "Type a syllable as it is spelled: the letter after a superscript r, l or s, and\n"
            "a y, r, l or w after the root letter, are written below by themselves.",
            Stacks),
    Section("Subjoined letters",
            "Type + before a letter to write it under the one before; the letters after it,\n"
            "up to the end of the syllable, go under too. The circle stands for the letter above.",
            Subjoined),
    Section("Vowels",
            "A vowel follows its letter; at the start of a syllable it is written on the letter a.",
            Vowels),
    Section("Long vowels", "A doubled vowel, or A, adds the a-chung below.", LongVowels),
    Section("Sanskrit letters and marks", "The capitals are typed with Shift.", Sanskrit),
    Section("Digits", "", Digits),
    Section("Punctuation and signs",
            "The space bar types the tsheg and ends the syllable. A full stop ends the syllable\n"
            "without typing anything (g.yag); a comma types nothing.",
            Punctuation),
    Section("Examples", "", Examples, false),
};

struct ReferenceRow {
    std::string shown;  // the keys as typed, or the item's label
    bool labelled;
    std::u32string text;
};

bool IsCombiningMark(char32_t c) {
    return c == 0x0F18 || c == 0x0F19 || c == 0x0F35 || c == 0x0F37 || c == 0x0F39 ||
           c == 0x0F3E || c == 0x0F3F || (c >= 0x0F71 && c <= 0x0F84) || c == 0x0F86 ||
           c == 0x0F87 || (c >= 0x0F8D && c <= 0x0FBC) || c == 0x0FC6;
}

// What the Tibetan column shows: a mark that needs a letter to sit on gets
// the dotted circle, and a lone space is named.
std::string ShownTibetan(const std::u32string& text) {
    if (text == U" ") {
        return "(a space)";
    }
    if (!text.empty() && IsCombiningMark(text[0])) {
        return Utf8(U"\u25CC" + text);
    }
    return Utf8(text);
}

bool TypeSection(const ReferenceSection& section, std::vector<ReferenceRow>& rows, std::string& error) {
    for (std::size_t i = 0; i < section.count; i++) {
        const ReferenceItem& item = section.items[i];
        const KeystrokeParse parse = ParseKeystrokes(item.keys);
        if (!parse.error.empty()) {
            error = std::string(section.title) + ": [" + item.keys + "]: " + parse.error;
            return false;
        }
        const std::u32string text = TypedText(parse.keys);
        if (text.empty()) {
            error = std::string(section.title) + ": [" + item.keys + "] types nothing";
            return false;
        }
        const bool labelled = item.label != nullptr;
        rows.push_back({labelled ? item.label : item.keys, labelled, text});
    }
    return true;
}

std::string Padded(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

std::string TextSection(const ReferenceSection& section, const std::vector<ReferenceRow>& rows) {
    std::string out = std::string(section.title) + "\n" + std::string(std::string(section.title).size(), '-') + "\n";
    if (section.intro[0] != '\0') {
        out += std::string(section.intro) + "\n";
    }
    out += "\n";
    std::size_t keysWidth = 8;
    std::size_t codeWidth = 7;
    for (const ReferenceRow& row : rows) {
        keysWidth = std::max(keysWidth, row.shown.size());
        codeWidth = std::max(codeWidth, CodePoints(row.text).size());
    }
    // The Tibetan comes last: its width on screen is not its length.
    const auto line = [&](const std::string& keys, const std::string& code, const std::string& tibetan) {
        out += "  " + Padded(keys, keysWidth) + "  ";
        if (section.codePoints) {
            out += Padded(code, codeWidth) + "  ";
        }
        out += tibetan + "\n";
    };
    line("You type", "Unicode", "Tibetan");
    for (const ReferenceRow& row : rows) {
        line(row.shown, CodePoints(row.text), ShownTibetan(row.text));
    }
    return out;
}

std::string MarkdownCode(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        if (c == '|') {
            escaped += '\\';
        }
        escaped += c;
    }
    return "`" + escaped + "`";
}

std::string MarkdownSection(const ReferenceSection& section, const std::vector<ReferenceRow>& rows) {
    std::string out = "## " + std::string(section.title) + "\n\n";
    if (section.intro[0] != '\0') {
        std::string intro = section.intro;
        for (char& c : intro) {
            if (c == '\n') {
                c = ' ';
            }
        }
        out += intro + "\n\n";
    }
    out += section.codePoints ? "| You type | Tibetan | Unicode |\n| --- | --- | --- |\n"
                              : "| You type | Tibetan |\n| --- | --- |\n";
    for (const ReferenceRow& row : rows) {
        out += "| " + (row.labelled ? row.shown : MarkdownCode(row.shown)) + " | " + ShownTibetan(row.text);
        out += section.codePoints ? " | " + CodePoints(row.text) + " |\n" : " |\n";
    }
    return out;
}

}  // namespace

bool MakeReference(ReferenceFormat format, std::string& output, std::string& error) {
    output.clear();
    for (const ReferenceSection& section : Sections) {
        std::vector<ReferenceRow> rows;
        if (!TypeSection(section, rows, error)) {
            output.clear();
            return false;
        }
        if (!output.empty()) {
            output += "\n";
        }
        output += format == ReferenceFormat::Text ? TextSection(section, rows) : MarkdownSection(section, rows);
    }
    return true;
}

// The typing reference: what to type for every letter, subjoined letter,
// vowel, Sanskrit letter, digit and punctuation mark, with the Tibetan that
// the engine and the layout give for it, typed afresh for every row.
#pragma once

#include <string>

enum class ReferenceFormat {
    Text,      // plain text for readme.txt
    Markdown,  // tables for the documentation
};

// Writes the whole reference into output. Fails, with the reason in error,
// when a row's keys are not valid KEYS or type nothing: a list that no
// longer matches the engine must not print a table with holes.
bool MakeReference(ReferenceFormat format, std::string& output, std::string& error);

// The published instance formats as the importer sees them: the lines that hold something,
// cut into tokens, with the number syntax, the block keywords and the refusal naming a line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace jobshop {

// A line that holds something other than blanks or a comment.
struct TextLine {
  int number = 0;  // 1-based, counted over every line of the file
  std::vector<std::string_view> tokens;
};

struct SourceText {
  std::string fileName;
  std::vector<TextLine> lines;
  // Where messages about a premature end point: the file's last line.
  int lastLineNumber = 1;
};

// Throws InputError{"FILE:LINE: reason"}, the file named as printableText shows it.
[[noreturn]] void refuseAt(const SourceText& source, int lineNumber, const std::string& reason);

// The lines of text that hold something other than blanks or a comment, cut at blanks. Keeps views
// into text, which must outlive the result.
SourceText significantLines(const std::string& text, const std::string& fileName);

// An optional sign and at least one digit, nothing else.
bool hasNumberSyntax(std::string_view token);
// The token as a whole number, refused when it is none or beyond the int range.
int parseNumber(const SourceText& source, int lineNumber, std::string_view token);
std::vector<int> parseNumbers(const SourceText& source, const TextLine& line);

// The line is the single word `word`, in any letter case.
bool isKeyword(const TextLine& line, std::string_view word);
// The line opens a Taillard block: "Times" or "Machines".
bool isBlockKeyword(const TextLine& line);

}  // namespace jobshop

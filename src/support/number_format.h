// Numbers written for people and for files, in one spelling everywhere.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace jobshop {

// `value` with exactly `decimals` digits after the point, as printf's "%.*f" writes it.
std::string fixedNumber(double value, int decimals);

// fixedNumber, except that a value other than 0 too small for `decimals` digits keeps two
// significant ones ("0.000082" rather than "0.000"): a recall against tens of thousands of optima
// is small but not nothing.
std::string smallShareNumber(double value, int decimals);

// A makespan for people: whole values without decimals, others with one.
std::string plainNumber(double value);

// A whole number with a comma between groups of three digits: "2,300,000".
std::string groupedNumber(std::int64_t value);
// groupedNumber for the digits of a number of any size.
std::string groupedDigits(const std::string& digits);

// "3, 7, 12": the numbers (run numbers, mostly) as they come, comma-separated.
std::string numberList(const std::vector<int>& numbers);

// "1 run", "3 runs": count and the noun that agrees with it.
std::string countOf(std::int64_t count, const char* singular, const char* plural);

}  // namespace jobshop

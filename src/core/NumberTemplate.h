#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Fills a text that carries values, such as "Код ошибки: %d".
//
// Templates may come from a language file, so they are never handed to printf: the
// first "%<conversion>" takes the first value, the next one the second and so on; "%%"
// is a percent sign, and every other "%" (including a conversion beyond the values)
// stays as it stands.
std::string FillTemplate(const std::string& text, char conversion, const std::vector<std::string>& values);

// A text with one number: the first "%d" takes it.
std::string FillNumberTemplate(const std::string& text, std::int64_t number);

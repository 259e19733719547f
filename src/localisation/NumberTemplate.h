#pragma once

#include <cstdint>
#include <string>

// Fills a text that carries one number, such as "Код ошибки: %d".
//
// Templates may come from a language file, so they are never handed to printf:
// the first "%d" takes the number, "%%" is a percent sign, and every other "%"
// (including further "%d") stays as it stands.
std::string FillNumberTemplate(const std::string& text, std::int64_t number);

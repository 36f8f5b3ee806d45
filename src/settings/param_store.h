// The process-wide store of named settings. Every other module reads settings
// with GetParam and changes them with SetParam, by key name; the key names are
// also the names under which the settings are stored and exported.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "settings/date.h"

namespace vorel::settings {

enum class ParamType { Empty, Flag, Short, Long, Date, Text };

// The kind of slot a parameter has; colours and lists hold text.
enum class ParamKind { Flag, Short, Long, Date, Text, Colour, TextList };

// A tagged value as GetParam returns it.
struct ParamValue {
  ParamType type = ParamType::Empty;
  bool flag = false;
  int32_t number = 0;  // Short and Long
  Date date;
  std::string text;

  bool IsEmpty() const { return type == ParamType::Empty; }
  // The stored text form: "True"/"False", decimal, "yyyy/m/d", or the text.
  std::string ToText() const;

  static ParamValue Flag(bool v);
  static ParamValue Short(int16_t v);
  static ParamValue Long(int32_t v);
  static ParamValue OfDate(const Date& v);
  static ParamValue Text(std::string v);
};

// What SetParam accepts: booleans, numbers, dates or text, converted to the slot's type.
using ParamInput = std::variant<bool, long long, Date, std::string>;

enum class SetParamResult { Ok, ConversionError };

struct ParamDef {
  std::string_view key;
  ParamKind kind;
  std::string_view defaultText;  // computed defaults are filled in by ApplyDefaults
  int listSize = 0;              // TextList only
};

// Every parameter, in the order of the settings file.
const std::vector<ParamDef>& ParamDefinitions();
const ParamDef* FindParam(std::string_view key);  // exact, case-sensitive

// Reads a parameter. `index` selects a list entry (0 always reads empty) and is
// ignored for other keys. Throws std::out_of_range for an index past a list's
// end; an unknown key gives an empty value.
ParamValue GetParam(std::string_view key, int index = 0);

// Converts and stores; lists insert the value at their head. A value that
// cannot be converted leaves the slot unchanged. Unknown keys are ignored.
SetParamResult SetParam(std::string_view key, const ParamInput& value);
inline SetParamResult SetParam(std::string_view key, const char* text) { return SetParam(key, ParamInput{std::string(text)}); }
inline SetParamResult SetParam(std::string_view key, int number) { return SetParam(key, ParamInput{static_cast<long long>(number)}); }

// Typed shorthands for callers that know a key's type.
bool ParamFlag(std::string_view key);
int32_t ParamInt(std::string_view key);
Date ParamDate(std::string_view key);
std::string ParamText(std::string_view key, int index = 0);

// --- for the load and save routines ---

// Every slot zero, false or empty, as before anything is loaded.
void ClearParams();
// Puts every default in place (including the computed ones: the log file and
// local folder beside the program, the current month's first day and today).
void ApplyDefaults();
// Puts one parameter's default in place.
void ApplyDefault(std::string_view key);
// Converts `text` to the slot's type and stores it without list insertion;
// `index` selects a list entry. False when the text does not convert.
bool SetParamFromText(std::string_view key, std::string_view text, int index = 0);
// The default of a parameter as stored text (list entry `index`).
std::string DefaultText(std::string_view key, int index = 1);

}  // namespace vorel::settings

#pragma once
// Every registry key and value name the program uses, in one place. ICQ's own names: ASCII, and
// matched case-insensitively by the registry.

#include <array>
#include <string_view>

namespace store::names {

// The key chain below HKEY_CURRENT_USER, in opening order.
constexpr std::string_view kSoftware = "Software";
constexpr std::string_view kMirabilis = "Mirabilis";
constexpr std::string_view kIcq = "ICQ";
constexpr std::string_view kOwners = "Owners";
constexpr std::array<std::string_view, 4> kChain = {kSoftware, kMirabilis, kIcq, kOwners};

// Value of the Owners key: the ID of the owner ICQ used last.
constexpr std::string_view kLastOwner = "LastOwner";

// Below an owner's key: Windows\SendMsg holds the two colour values.
constexpr std::string_view kWindows = "Windows";
constexpr std::string_view kSendMsg = "SendMsg";

// Indexed by target: 0 the pen (text) colour, 1 the back colour.
constexpr std::string_view kPenColor = "Pen Color";
constexpr std::string_view kBackColor = "Back Color";
constexpr std::array<std::string_view, 2> kColorValues = {kPenColor, kBackColor};

}  // namespace store::names

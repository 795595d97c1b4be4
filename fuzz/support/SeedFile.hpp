#pragma once

#include <string>
#include <string_view>

namespace fuzzsupport {

// Writes one generated seed, `folder`/`name`, replacing what was there; false,
// having said why on standard error, when it cannot.
bool writeSeed(const std::string& folder, const std::string& name, std::string_view bytes);

}  // namespace fuzzsupport

#pragma once

#include "platform/runtime/foundation/http/HTTPCookie.hpp"

#include <vector>

namespace kestrova {

// Copies the signed-in web front end's login token, the cookie "token" of any domain and path, into
// the shared defaults, where the API client and the extensions read it. With several such cookies
// each is written in the order given and the last one stays; with none, or when the suite refuses
// the write, the stored token stays as it was.
void storeLoginToken(const std::vector<foundation::HTTPCookie>& cookies);

}  // namespace kestrova

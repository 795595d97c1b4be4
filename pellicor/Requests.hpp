#pragma once

#include "kestrova/model/Journal.hpp"
#include "platform/runtime/concurrency/Task.hpp"
#include "platform/runtime/foundation/core/Data.hpp"
#include "platform/runtime/foundation/core/URL.hpp"

#include <cstdint>
#include <optional>
#include <string>

namespace pellicor {

// GET "/journals/<id>" of the API, with the token's cookie only when there is a token. Throws what
// the API client's send step throws: a KestrovaAPIError or the transfer's URLError.
concurrency::Task<kestrova::Journal> getJournal(std::int64_t id, std::optional<std::string> token);

// The body at the URL whatever the status (an error page too), fetched without cookie; none when
// the transfer fails or the task is cancelled, which is printed on standard output.
concurrency::Task<std::optional<foundation::Data>> fetchData(foundation::URL url);

// The journal with the bytes at its icon link, none when they could not be fetched; unchanged, and
// nothing fetched, without a link that is a URL.
concurrency::Task<kestrova::Journal> withDownloadedIcon(kestrova::Journal journal);

}  // namespace pellicor

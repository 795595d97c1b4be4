#pragma once

#include "platform/runtime/foundation/core/URL.hpp"

namespace foundation {

// What the development setting changes in a libcurl transfer to the URL, in
// one place for the URL session's curl engine. For one of the
// certificate's hosts the certificate becomes the transfer's CA file and its
// public key is pinned, so that only a server that holds its key is trusted
// (a redirect from there to another host then fails). For any other host the
// setting changes nothing: the system's authorities alone decide.
//
// `easyHandle` is the transfer's CURL*, which libcurl declares as a void*; so
// this header needs none of libcurl's.
void trustDevelopmentCertificate(void* easyHandle, const URL& url);

}  // namespace foundation

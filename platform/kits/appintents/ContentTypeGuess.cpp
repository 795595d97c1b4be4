#include "platform/kits/appintents/UTType.hpp"

#include <gio/gio.h>

#include <string>

namespace appintents {

std::optional<UTType> UTType::guessing(std::string_view filename, std::string_view contents) {
    const std::string name(filename);
    g_autofree gchar* contentType = g_content_type_guess(
        name.empty() ? nullptr : name.c_str(), reinterpret_cast<const guchar*>(contents.data()), contents.size(), nullptr);
    if (contentType == nullptr) {
        return std::nullopt;
    }
    g_autofree gchar* mimeType = g_content_type_get_mime_type(contentType);
    return mimeType == nullptr ? std::nullopt : fromMIMEType(mimeType);
}

}  // namespace appintents

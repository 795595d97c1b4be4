#include "tools/standin/ForeignSite.hpp"

namespace standin {

void ForeignSite::handle(const httplib::Request& request, httplib::Response& response) const {
    if (request.path == "/style.css") {
        return pages_.serve(response, "style.css", "text/css");
    }
    response.set_content(filledHoles(pages_.read("foreign.html"), {{"path", escapedHTML(request.path)}}),
                         "text/html; charset=utf-8");
}

}  // namespace standin

// A cold render of the Today widget as the widget host does it: `widgethost render` starts, starts
// the widget extension, which reads the heavy cached user (no token, so no network) and draws the
// medium widget, and the PNG is written. Beside it, the decoding of that user alone in-process,
// the share of the render that the cache costs.
#include "bench/json_bench/HeavyUser.hpp"
#include "bench/json_bench/TemporaryAppGroup.hpp"
#include "bench/support/QuietRun.hpp"
#include "kestrova/model/AppGroupDefaults.hpp"
#include "platform/runtime/foundation/coding/JSONDecoder.hpp"
#include "kestrova/model/SharedDefaults.hpp"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int runs = 20;

double medianMilliseconds(const std::function<bool()>& run) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        if (!run()) {
            return -1;
        }
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return (times[runs / 2 - 1] + times[runs / 2]) / 2;
}

bool renderOnce(const std::filesystem::path& out) {
    return bench::runQuietly({KESTROVA_WIDGETHOST_PATH, "render", "DailyWidget", "--family", "systemMedium", "--out",
                              out.string()}) &&
           std::filesystem::exists(out);
}

}  // namespace

int main() {
    const bench::TemporaryAppGroup group;
    auto defaults = kestrova::AppGroupDefaults::shared();
    defaults.saveUser(bench::makeHeavyUser(300, 9));
    defaults.removeToken();
    std::printf("cached user: %zu bytes of JSON\n", defaults.cachedUserJSON()->size());

    // The stored bytes decoded each time: loadUser() would hand back the decoded user it keeps while
    // the stored value is unchanged.
    const auto json = defaults.cachedUserJSON();
    const double decode = medianMilliseconds([&json] {
        return foundation::JSONDecoder().decode<kestrova::User>(*json).id != 0;
    });
    const auto out = group.path() / "today.png";
    const double render = medianMilliseconds([&out] { return renderOnce(out); });
    if (render < 0) {
        std::fprintf(stderr, "widget_bench: widgethost render failed\n");
        return 1;
    }
    std::printf("decoding the cached user in-process: median %.2f ms of %d\n", decode, runs);
    std::printf("cold widgethost render DailyWidget --family systemMedium: median %.2f ms of %d\n", render, runs);
    return 0;
}

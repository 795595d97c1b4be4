#pragma once

namespace appkit {

// How the installed backend acts on the application as a whole.
class ApplicationService {
public:
    virtual ~ApplicationService() = default;

    virtual void activate(bool ignoringOtherApps) = 0;
    virtual void terminate() = 0;

protected:
    ApplicationService() = default;
};

}  // namespace appkit

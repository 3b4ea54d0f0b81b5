#include "DemoApp.h"

namespace trelmo {

CDemoApp& TheApp()
{
    static CDemoApp app;
    return app;
}

QString BusAddressText;
std::int32_t OperatingModeIndex = 0;
std::int32_t BaudRateIndex = 0;
std::int32_t PortIndex = 0;

} // namespace trelmo

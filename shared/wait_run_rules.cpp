#include "shared/wait_run_rules.h"

#include <cstdlib>

std::wstring WaitRunTitle(uint8_t typemessage) {
    switch (typemessage) {
        case 2:
            return L"Запись данных ЭКГ";
        case 3:
            return L"Преобразование данных ЭКГ в формат Velmora-Холтер";
        case 4:
            return L"";
        default:
            return L"Launching ";
    }
}

int NextProgressPosition(int position) {
    return position % kWaitRunSteps + 1;
}

int ScaleFromWaitRunDesign(int pixels, int dpi) {
    return (pixels * dpi + kWaitRunDesignDpi / 2) / kWaitRunDesignDpi;
}

WaitRunPlace PlaceWaitRun(int monitorLeft, int monitorTop, int monitorWidth, int monitorHeight, int windowWidth,
                          int windowHeight) {
    return {monitorLeft + (monitorWidth - windowWidth) / 2,
            monitorTop + std::abs(monitorHeight - windowHeight) / 2};
}

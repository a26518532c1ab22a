#include "ui/Dispatch.h"

#include <exception>

#include "core/Calculate.h"
#include "core/RunTimeError.h"
#include "log/LogResults.h"
#include "ui/WindowCommands.h"

namespace pelagrin {

std::optional<std::string> Dispatch(form::Command command, view& window, CalcValues& values) {
    try {
        switch (command) {
            case form::Command::Calculate:
                Calculate(window, values);
                break;
            case form::Command::Clear:
                Clear(window);
                break;
            case form::Command::Print:
                LogResults(window, values);
                break;
            case form::Command::About:
                About(window);
                break;
            case form::Command::Exit:
                break;
        }
    } catch (const RunTimeError& error) {
        return error.what();
    } catch (const std::exception& error) {
        return std::string("Internal error: ") + error.what();
    }
    return std::nullopt;
}

}  // namespace pelagrin

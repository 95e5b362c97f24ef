#include "lintra/nx/NXDriverKinds.h"

#include "lintra/nx/DriverTypes.h"
#include "lintra/nx/NXEthDriver.h"
#include "lintra/nx/NXSioDriver.h"

namespace lintra::nx {

void RegisterNXDrivers() {
    RegisterDriverType(TNXEthDriver::kType, [] { return std::unique_ptr<TCommDriver>(new TNXEthDriver); });
    RegisterDriverType(TNXSioDriver::kType, [] { return std::unique_ptr<TCommDriver>(new TNXSioDriver); });
}

}  // namespace lintra::nx

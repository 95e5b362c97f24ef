#pragma once
// The controller driver types of the Driver API: 1 TCP, 2 serial.
namespace lintra::nx {

// Registers both; run by the library's load before lintra.ini creates drivers.
void RegisterNXDrivers();

}  // namespace lintra::nx

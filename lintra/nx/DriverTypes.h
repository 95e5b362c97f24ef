#pragma once
// The driver and line types DriverCreate and DriverLineCreate can build. Each concrete driver
// or line class registers its Driver API type number once, before the first create that names
// it; a type nobody registered answers -2.
#include <cstdint>
#include <memory>

namespace lintra::nx {

class TCommDriver;
class TCommLine;

using DriverMaker = std::unique_ptr<TCommDriver> (*)();
using LineMaker = std::unique_ptr<TCommLine> (*)(TCommDriver &driver);

// Registering a type again replaces its maker. False when no place is left.
bool RegisterDriverType(int32_t type, DriverMaker make);
bool RegisterLineType(int32_t type, LineMaker make);
// nullptr for a type nobody registered.
DriverMaker FindDriverType(int32_t type);
LineMaker FindLineType(int32_t type);

}  // namespace lintra::nx

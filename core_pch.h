#pragma once
// Precompiled headers of the layers above the framework: only QtCore.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>
#include <QtCore>

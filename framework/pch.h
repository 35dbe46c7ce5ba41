#pragma once
// Precompiled headers of the framework layer.
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
#include <QtGui>
#include <QtWidgets>

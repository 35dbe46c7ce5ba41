#pragma once
#include <gtest/gtest.h>
#include <gmock/gmock.h>
#include <QtCore>
#include <QtGui>
#include <QtWidgets>

#include "ui/screens/FightDialog.h"

#include <gtest/gtest.h>

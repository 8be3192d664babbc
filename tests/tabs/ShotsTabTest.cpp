#include "tests/tabs/WindowFixture.h"

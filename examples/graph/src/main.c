#include "app.h"
#include <stdio.h>
#include "ring_a.h"

int main(void) { return Area(2) > 0 ? 0 : 1; }

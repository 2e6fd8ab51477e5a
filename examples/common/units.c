/* Unit conversions shared by projects beside this folder. */
#include "shapes.h"

#define MM_PER_INCH 25.4

double inches_to_mm( double inches )
{
    return( inches * MM_PER_INCH );
}

double mm_to_inches( double mm )
{
    return( mm / MM_PER_INCH );
}

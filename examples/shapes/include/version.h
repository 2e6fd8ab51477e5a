/* The version shown in the canvas resources. */
#define SHAPES_VERSION "1.0"

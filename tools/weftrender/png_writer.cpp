// The one definition of the stb PNG writer that picture.cpp calls.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include "stb_image_write.h"

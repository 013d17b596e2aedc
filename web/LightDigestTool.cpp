// light_digest: prints the light factor's digest (LightDigest.h) as the desktop computes
// it, for the web tests to compare the browser's with.
#include "LightDigest.h"

#include <iostream>

int main() {
    std::cout << pelto::LightDigest() << "\n";
}

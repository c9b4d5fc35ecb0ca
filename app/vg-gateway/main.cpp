// vg-gateway: the units of a hall on the plant's MQTT broker, and a backup of each one's
// configuration.
#include "gateway/GatewayProgram.h"

#include <exception>
#include <iostream>

int main(int argc, char** argv) {
    try {
        return vg::RunGateway({argv + 1, argv + argc}, std::cout, std::cerr);
    } catch (const std::exception& e) {
        std::cerr << "vg-gateway: " << e.what() << '\n';
        return 1;
    }
}

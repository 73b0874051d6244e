#include "player/weapon.h"

#include <iostream>

#include "player/player.h"

void fireLaser() {
    if (player.ammo > 0) {
        std::cout << "IMA CHARGIN MAH LAZERS!" << std::endl;
        player.ammo -= 1;
    } else {
        std::cout << "Out of ammobbb" << std::endl;
    }
}

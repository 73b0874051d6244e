#include "player/weapon.h"

#include "player/player.h"
#include "core/messages.h"

void fireLaser() {
    if (player.ammo > 0) {
        say("IMA CHARGIN MAH LAZERS!");
        player.ammo -= 1;
    } else {
        say("Out of ammobbb");
    }
}

#include "player/weapon.h"

#include "platform/messages.h"
#include "player/player.h"

void fireLaser() {
    if (player.ammo > 0) {
        say("IMA CHARGIN MAH LAZERS!");
        player.ammo -= 1;
    } else {
        say("Out of ammobbb");
    }
}

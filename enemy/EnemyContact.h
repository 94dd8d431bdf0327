// Collision walks shared by enemies and bosses: the player's shots against them, them against the ship.
#pragma once

class CMobTask;

// How many of the player's shots overlap the object.
int CountShotHits(const CMobTask& target);
// Lowers the energy of every player ship that overlaps the object by the amount.
void HurtTouchingPlayers(const CMobTask& source, int amount);
// hp minus the hits, stopping at the lowest value instead of wrapping round.
int LoseHitPoints(int hp, int hits);

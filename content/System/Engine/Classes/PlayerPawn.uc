//=============================================================================
// PlayerPawn: The player.
//=============================================================================
class PlayerPawn expands Pawn;

defaultproperties
{
	CollisionRadius=17.000000
	CollisionHeight=39.000000
}

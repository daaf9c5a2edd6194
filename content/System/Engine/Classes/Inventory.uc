//=============================================================================
// Inventory: Things the player can pick up.
//=============================================================================
class Inventory expands Actor;

defaultproperties
{
	bCollideActors=True
	CollisionRadius=20.000000
	CollisionHeight=16.000000
	PickupMessage="Snagged an item"
}

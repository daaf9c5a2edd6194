//=============================================================================
// Weapon: Weapons the player carries.
//=============================================================================
class Weapon expands Inventory;

defaultproperties
{
	PickupMessage="You got a weapon"
}

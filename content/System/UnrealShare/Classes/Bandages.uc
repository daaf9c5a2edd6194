//=============================================================================
// Bandages: A roll of bandages.
//=============================================================================
class Bandages expands Health;

defaultproperties
{
	PickupMessage="You got bandages +"
	HealingAmount=5
	DrawScale=0.600000
}

//=============================================================================
// Pickup: Inventory used up when taken.
//=============================================================================
class Pickup expands Inventory;

defaultproperties
{
}

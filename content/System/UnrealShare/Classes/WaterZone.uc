//=============================================================================
// WaterZone: Water: the player swims and hears the world muffled.
//=============================================================================
class WaterZone expands ZoneInfo;

defaultproperties
{
	bWaterZone=True
}

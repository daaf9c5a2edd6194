//=============================================================================
// ZoneInfo: Properties of one zone of the level: water, damage, panning.
//=============================================================================
class ZoneInfo expands Info;

defaultproperties
{
	TexUPanSpeed=1.000000
	TexVPanSpeed=1.000000
}

//=============================================================================
// SkyZoneInfo: Marks the sky box seen through sky surfaces.
//=============================================================================
class SkyZoneInfo expands ZoneInfo;

defaultproperties
{
}

//=============================================================================
// PlayerStart: Where the player enters the level.
//=============================================================================
class PlayerStart expands NavigationPoint;

defaultproperties
{
}

//=============================================================================
// BreakingGlass: A pane of glass that shatters when triggered.
//=============================================================================
class BreakingGlass expands ExplodingWall;

defaultproperties
{
}

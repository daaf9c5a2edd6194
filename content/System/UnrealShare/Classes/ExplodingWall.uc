//=============================================================================
// ExplodingWall: A wall that blows apart when triggered.
//=============================================================================
class ExplodingWall expands Effects;

defaultproperties
{
	bHidden=True
}

//=============================================================================
// Keypoint: Invisible markers with a special purpose.
//=============================================================================
class Keypoint expands Actor;

defaultproperties
{
	bHidden=True
	bCollideActors=False
}

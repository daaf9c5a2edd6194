//=============================================================================
// Bird1: A bird circling its nest.
//=============================================================================
class Bird1 expands ScriptedPawn;

#exec MESH IMPORT MESH=Bird ANIVFILE=MODELS\Bird_a.3d DATAFILE=MODELS\Bird_d.3d
#exec MESH ORIGIN MESH=Bird X=0 Y=0 Z=0 YAW=0
#exec MESH SEQUENCE MESH=Bird SEQ=Still STARTFRAME=0 NUMFRAMES=1 RATE=1
#exec MESH SEQUENCE MESH=Bird SEQ=Flight STARTFRAME=1 NUMFRAMES=12 RATE=16
#exec MESHMAP SCALE MESHMAP=Bird X=0.05 Y=0.05 Z=0.1
#exec MESHMAP SETTEXTURE MESHMAP=Bird NUM=0 TEXTURE=UnrealShare.Skins.JBird1

defaultproperties
{
	Health=10
	CollisionRadius=10.000000
	CollisionHeight=6.000000
	Mesh=LodMesh'UnrealShare.Bird'
	CircleRadius=300.000000
	bCollideActors=False
	bBlockPlayers=False
	Acquire=Sound'UnrealShare.Bird.BirdCall'
	HitSound1=Sound'UnrealShare.Bird.BirdCall'
	Die=Sound'UnrealShare.Bird.BirdCall'
}

{ Writes the reference component streams the framework suite compares against. It declares the
  same test classes as tests/framework/StreamTestObjects.cpp and uses only the Classes unit of
  Free Pascal, an implementation independent of ours. Run regenerate.sh to rebuild the files. }
program StreamOracle;

{$mode objfpc}{$H+}

uses
  Classes, SysUtils, StrUtils;

type
  TColor = -$7FFFFFFF - 1..$7FFFFFFF;
  TFontCharset = 0..255;
  TTestKind = (tkNone, tkForm, tkButton, tkPanel);
  TTestKinds = set of TTestKind;
  TFontStyle = (fsBold, fsItalic, fsUnderline, fsStrikeOut);
  TFontStyles = set of TFontStyle;

  TTestFont = class(TPersistent)
  private
    FCharset: TFontCharset;
    FColor: TColor;
    FHeight: Integer;
    FName: string;
    FStyle: TFontStyles;
  public
    constructor Create;
  published
    property Charset: TFontCharset read FCharset write FCharset;
    property Color: TColor read FColor write FColor;
    property Height: Integer read FHeight write FHeight;
    property Name: string read FName write FName;
    property Style: TFontStyles read FStyle write FStyle;
  end;

  TTestItem = class(TCollectionItem)
  private
    FCaption: string;
    FValue: Integer;
  published
    property Caption: string read FCaption write FCaption;
    property Value: Integer read FValue write FValue default 0;
  end;

  TTestChild = class(TComponent)
  private
    FTag2: Integer;
  protected
    procedure GetChildren(Proc: TGetChildProc; Root: TComponent); override;
  published
    property Tag2: Integer read FTag2 write FTag2 default 0;
  end;

  TTestObject = class(TComponent)
  private
    FInt8, FInt16, FInt32, FNeg8, FNeg32: Integer;
    FBig: Int64;
    FVisible, FEnabled, FDefFalse: Boolean;
    FKind: TTestKind;
    FKinds: TTestKinds;
    FCaption, FQuoted, FLongText: string;
    FWideCaption: WideString;
    FFont: TTestFont;
    FColorIdent, FColorNum, FColorSys: TColor;
    FRatio: Double;
    FItems: TCollection;
    FLink: TComponent;
    FOnChange: TNotifyEvent;
    FObjects: array[0..3] of Byte;
    procedure SetFont(Value: TTestFont);
    procedure SetItems(Value: TCollection);
    procedure ReadLines(Reader: TReader);
    procedure WriteLines(Writer: TWriter);
    procedure ReadNormalHeight(Reader: TReader);
    procedure WriteNormalHeight(Writer: TWriter);
    procedure ReadObjects(Stream: TStream);
    procedure WriteObjects(Stream: TStream);
  protected
    procedure DefineProperties(Filer: TFiler); override;
    procedure GetChildren(Proc: TGetChildProc; Root: TComponent); override;
  public
    constructor Create(AOwner: TComponent); override;
    destructor Destroy; override;
  published
    procedure HandleChange(Sender: TObject);
    property Int8: Integer read FInt8 write FInt8 default 0;
    property Int16: Integer read FInt16 write FInt16 default 0;
    property Int32: Integer read FInt32 write FInt32 default 0;
    property Neg8: Integer read FNeg8 write FNeg8 default 0;
    property Neg32: Integer read FNeg32 write FNeg32 default 0;
    property Big: Int64 read FBig write FBig default 0;
    property Visible: Boolean read FVisible write FVisible;
    property Enabled: Boolean read FEnabled write FEnabled;
    property DefFalse: Boolean read FDefFalse write FDefFalse default False;
    property Kind: TTestKind read FKind write FKind default tkNone;
    property Kinds: TTestKinds read FKinds write FKinds default [];
    property Caption: string read FCaption write FCaption;
    property Quoted: string read FQuoted write FQuoted;
    property LongText: string read FLongText write FLongText;
    property WideCaption: WideString read FWideCaption write FWideCaption;
    property Font: TTestFont read FFont write SetFont;
    property ColorIdent: TColor read FColorIdent write FColorIdent default 0;
    property ColorNum: TColor read FColorNum write FColorNum default 0;
    property ColorSys: TColor read FColorSys write FColorSys default 0;
    property Ratio: Double read FRatio write FRatio;
    property Items: TCollection read FItems write SetItems;
    property Link: TComponent read FLink write FLink;
    property OnChange: TNotifyEvent read FOnChange write FOnChange;
  end;

  TTestFloats = class(TComponent)
  private
    FSingle: Single;
    FMoney: Currency;
    FWhen: TDateTime;
  published
    property Single: Single read FSingle write FSingle;
    property Money: Currency read FMoney write FMoney;
    property When: TDateTime read FWhen write FWhen;
  end;

const
  Colors: array[0..5] of TIdentMapEntry = (
    (Value: $000000; Name: 'clBlack'), (Value: $808080; Name: 'clGray'),
    (Value: $C0C0C0; Name: 'clSilver'), (Value: $FFFFFF; Name: 'clWhite'),
    (Value: TColor($FF000008); Name: 'clWindowText'), (Value: $1FFFFFFF; Name: 'clNone'));
  Charsets: array[0..2] of TIdentMapEntry = (
    (Value: 0; Name: 'ANSI_CHARSET'), (Value: 1; Name: 'DEFAULT_CHARSET'),
    (Value: 134; Name: 'GB2312_CHARSET'));

function ColorToIdent(Int: LongInt; var Ident: string): Boolean;
begin
  Result := IntToIdent(Int, Ident, Colors);
end;

function IdentToColor(const Ident: string; var Int: LongInt): Boolean;
begin
  Result := IdentToInt(Ident, Int, Colors);
end;

function CharsetToIdent(Int: LongInt; var Ident: string): Boolean;
begin
  Result := IntToIdent(Int, Ident, Charsets);
end;

function IdentToCharset(const Ident: string; var Int: LongInt): Boolean;
begin
  Result := IdentToInt(Ident, Int, Charsets);
end;

constructor TTestFont.Create;
begin
  inherited Create;
  FCharset := 1;
end;

procedure TTestChild.GetChildren(Proc: TGetChildProc; Root: TComponent);
var
  I: Integer;
begin
  for I := 0 to ComponentCount - 1 do
    Proc(Components[I]);
end;

constructor TTestObject.Create(AOwner: TComponent);
begin
  inherited Create(AOwner);
  FVisible := True;
  FFont := TTestFont.Create;
  FItems := TCollection.Create(TTestItem);
  FObjects[0] := 0; FObjects[1] := 0; FObjects[2] := $0F; FObjects[3] := 0;
end;

destructor TTestObject.Destroy;
begin
  FItems.Free;
  FFont.Free;
  inherited Destroy;
end;

procedure TTestObject.HandleChange(Sender: TObject);
begin
end;

procedure TTestObject.SetFont(Value: TTestFont);
begin
  FFont.Charset := Value.Charset;
end;

procedure TTestObject.SetItems(Value: TCollection);
begin
  FItems.Assign(Value);
end;

procedure TTestObject.ReadLines(Reader: TReader);
begin
  Reader.ReadListBegin;
  while not Reader.EndOfList do Reader.ReadString;
  Reader.ReadListEnd;
end;

procedure TTestObject.WriteLines(Writer: TWriter);
begin
  Writer.WriteListBegin;
  Writer.WriteString('alpha');
  Writer.WriteString('beta');
  Writer.WriteListEnd;
end;

procedure TTestObject.ReadNormalHeight(Reader: TReader);
begin
  Reader.ReadInteger;
end;

procedure TTestObject.WriteNormalHeight(Writer: TWriter);
begin
  Writer.WriteInteger(25);
end;

procedure TTestObject.ReadObjects(Stream: TStream);
begin
  Stream.ReadBuffer(FObjects, 4);
end;

procedure TTestObject.WriteObjects(Stream: TStream);
begin
  Stream.WriteBuffer(FObjects, 4);
end;

procedure TTestObject.DefineProperties(Filer: TFiler);
begin
  inherited DefineProperties(Filer);
  Filer.DefineProperty('Lines', @ReadLines, @WriteLines, True);
  Filer.DefineProperty('NormalHeight', @ReadNormalHeight, @WriteNormalHeight, True);
  Filer.DefineBinaryProperty('Objects', @ReadObjects, @WriteObjects, True);
end;

procedure TTestObject.GetChildren(Proc: TGetChildProc; Root: TComponent);
var
  I: Integer;
begin
  for I := 0 to ComponentCount - 1 do
    Proc(Components[I]);
end;

function MakeReference: TTestObject;
var
  Child, GrandChild: TTestChild;
  Item: TTestItem;
  Method: TMethod;
begin
  Result := TTestObject.Create(nil);
  Result.Name := 'Root';
  Result.Int8 := 100;
  Result.Int16 := 1000;
  Result.Int32 := 100000;
  Result.Neg8 := -5;
  Result.Neg32 := -40000;
  Result.Big := 5000000000;
  Result.Kind := tkButton;
  Result.Kinds := [tkForm, tkPanel];
  Result.Caption := 'Face';
  Result.Quoted := 'It''s'#9'done';
  Result.LongText := DupeString('0123456789', 30);
  Result.WideCaption := WideChar($5237) + WideChar($65B0);
  Result.Font.Charset := 1;
  Result.Font.Color := TColor($FF000008);
  Result.Font.Height := -11;
  Result.Font.Name := 'MS Sans Serif';
  Result.Font.Style := [fsBold];
  Result.ColorIdent := $FFFFFF;
  Result.ColorNum := $123456;
  Result.ColorSys := TColor($FF000008);
  Result.Ratio := 0.5;
  Item := TTestItem(Result.Items.Add);
  Item.Caption := 'One';
  Item.Value := 1;
  Item := TTestItem(Result.Items.Add);
  Item.Caption := 'Two';
  Item.Value := 300;
  Child := TTestChild.Create(Result);
  Child.Name := 'Child1';
  Child.Tag2 := 7;
  GrandChild := TTestChild.Create(Child);
  GrandChild.Name := 'GrandChild';
  GrandChild.Tag2 := -1000;
  Result.Link := Child;
  Method.Code := Result.MethodAddress('HandleChange');
  Method.Data := Result;
  Result.OnChange := TNotifyEvent(Method);
end;

procedure SaveStream(S: TStream; const FileName: string);
var
  F: TFileStream;
begin
  F := TFileStream.Create(FileName, fmCreate);
  try
    S.Position := 0;
    F.CopyFrom(S, S.Size);
  finally
    F.Free;
  end;
end;

procedure WriteObject(C: TComponent; const Base: string; WithText: Boolean);
var
  Bin, Txt, Back: TMemoryStream;
begin
  Bin := TMemoryStream.Create;
  Txt := TMemoryStream.Create;
  Back := TMemoryStream.Create;
  try
    Bin.WriteComponent(C);
    SaveStream(Bin, Base + '.bin');
    if WithText then
    begin
      Bin.Position := 0;
      ObjectBinaryToText(Bin, Txt);
      SaveStream(Txt, Base + '.txt');
      Txt.Position := 0;
      ObjectTextToBinary(Txt, Back);
      SaveStream(Back, Base + '.t2b.bin');
    end;
  finally
    Back.Free;
    Txt.Free;
    Bin.Free;
  end;
end;

{ Converts a hand-written text form to binary, and that binary back to text. }
procedure ConvertText(const InFile, Base: string);
var
  Txt: TFileStream;
  Bin, Back: TMemoryStream;
begin
  Txt := TFileStream.Create(InFile, fmOpenRead);
  Bin := TMemoryStream.Create;
  Back := TMemoryStream.Create;
  try
    ObjectTextToBinary(Txt, Bin);
    SaveStream(Bin, Base + '.bin');
    Bin.Position := 0;
    ObjectBinaryToText(Bin, Back);
    SaveStream(Back, Base + '.b2t.txt');
  finally
    Back.Free;
    Bin.Free;
    Txt.Free;
  end;
end;

{ Converts a hand-written text form to binary only: the other converter has no text form for
  single, currency and date values. }
procedure ConvertTextToBinary(const InFile, OutFile: string);
var
  Txt: TFileStream;
  Bin: TMemoryStream;
begin
  Txt := TFileStream.Create(InFile, fmOpenRead);
  Bin := TMemoryStream.Create;
  try
    ObjectTextToBinary(Txt, Bin);
    SaveStream(Bin, OutFile);
  finally
    Bin.Free;
    Txt.Free;
  end;
end;

var
  OutDir: string;
  Root: TTestObject;
  Floats: TTestFloats;
begin
  OutDir := ParamStr(1);
  RegisterIntegerConsts(TypeInfo(TColor), @IdentToColor, @ColorToIdent);
  RegisterIntegerConsts(TypeInfo(TFontCharset), @IdentToCharset, @CharsetToIdent);
  RegisterClasses([TTestObject, TTestChild, TTestFloats]);

  Root := MakeReference;
  WriteObject(Root, OutDir + '/object', True);
  Root.Free;

  Floats := TTestFloats.Create(nil);
  Floats.Name := 'Floats';
  Floats.Single := 1.5;
  Floats.Money := 12.3456;
  Floats.When := 45424.5;
  WriteObject(Floats, OutDir + '/floats', False);
  Floats.Free;

  ConvertText(OutDir + '/syntax.txt', OutDir + '/syntax');
  ConvertTextToBinary(OutDir + '/reals.txt', OutDir + '/reals.bin');
end.
